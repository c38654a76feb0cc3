#include "platform/qt/Accessibility.h"
#include "platform/qt/Appearance.h"
#include "platform/qt/Native.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <limits>

namespace {

QWidget* WindowOf(TForm* form) { return NativeWindow(*form); }

void Place(QWidget& widget, const ControlDescription& description) {
  widget.setObjectName(ToQString(description.Name));
  if (description.Font != nullptr) ApplyFont(widget, *description.Font);
  widget.setGeometry(description.Left, description.Top, description.Width, description.Height);
}

}  // namespace

TControl::TControl(TForm* Owner, const ControlDescription& description)
    : TComponent(Owner), native_(std::make_unique<Native>()) {
  SetName(std::string(description.Name));
}

TControl::~TControl() = default;

FieldText TControl::GetText() const {
  QWidget* widget = NativeWidget(*this);
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text().toStdString();
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text().toStdString();
  if (auto* button = qobject_cast<QPushButton*>(widget)) return button->text().toStdString();
  return {};
}

void TControl::SetText(const FieldText& text) {
  QWidget* widget = NativeWidget(*this);
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    edit->setText(ToQString(text));
    if (edit->isReadOnly()) AnnounceResults(*edit);  // a result: say it
  }
  if (auto* label = qobject_cast<QLabel*>(widget)) label->setText(ToQString(text));
  if (auto* button = qobject_cast<QPushButton*>(widget)) button->setText(ToQString(text));
}

TLabel::TLabel(TForm* Owner, const ControlDescription& description) : TControl(Owner, description) {
  auto* label = new QLabel(WindowOf(Owner));
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);  // caption at the top left of its rectangle
  label->setText(ToQString(description.Caption));
  Place(*label, description);
  // The stored size was measured with another renderer's fonts: grow to fit the caption here,
  // keeping the stored position.
  const QFontMetrics metrics(label->font());
  label->resize(std::max(description.Width, metrics.horizontalAdvance(label->text())),
                std::max(description.Height, metrics.height()));
  Handle().widget = label;
}

TEdit::TEdit(TForm* Owner, const ControlDescription& description) : TControl(Owner, description) {
  auto* edit = new QLineEdit(WindowOf(Owner));
  edit->setMaxLength(std::numeric_limits<int>::max());  // no limit on what can be typed
  edit->setReadOnly(description.ReadOnly);
  edit->setText(ToQString(description.Caption));
  Place(*edit, description);
  Handle().widget = edit;
}

TButton::TButton(TForm* Owner, const ControlDescription& description)
    : TControl(Owner, description) {
  auto* button = new QPushButton(ToQString(description.Caption), WindowOf(Owner));
  // Enter presses the button while it has the focus, as on Windows; in a window that is not a
  // dialog, Enter in a field still does nothing.
  button->setAutoDefault(true);
  button->setFocusPolicy(Qt::StrongFocus);
  Place(*button, description);
  QObject::connect(button, &QPushButton::clicked, button, [this] { DispatchEvent(OnClick, this); });
  Handle().widget = button;
}
