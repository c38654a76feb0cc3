#pragma once

// What assistive technologies see of the forms: interfaces for the window and its controls, and
// announcements of results.

#include <QWidget>

// Makes the interfaces below the ones the toolkit hands out; once per process.
void InstallAccessibility();

// The window of a form: presented as a frame named by its title.
void MarkAsForm(QWidget& window);

// Announces the read-only fields of the field's window, named and with their values, once the
// program has set them.
void AnnounceResults(QWidget& field);
