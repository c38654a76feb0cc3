#pragma once

// The steps of building a form from its description that every backend shares.

#include "platform/forms/Forms.h"

#include <string_view>
#include <vector>

// Creates every control of the description, owned by the form; a name used twice is an Exception.
void CreateControls(TForm* form, const FormDescription& description);

// The controls that are tab stops, in tab order.
std::vector<const ControlDescription*> TabStops(const FormDescription& description);

// The form's control of that name; none is an Exception.
TControl& ControlNamed(const TForm& form, std::string_view name);
