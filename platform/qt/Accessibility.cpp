#include "platform/qt/Accessibility.h"

#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

#include <algorithm>

namespace {

constexpr char kFormProperty[] = "quarnForm";
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
constexpr char kAnnouncerName[] = "quarnAnnouncer";
constexpr char kMessageProperty[] = "message";
#endif
constexpr char kQueuedProperty[] = "quarnAnnouncementQueued";

// Assistive technologies work in the screen's device pixels; widgets in device-independent ones.
qreal PixelRatio(const QWidget* widget) {
  const QWindow* window = widget->window()->windowHandle();
  return window != nullptr ? window->devicePixelRatio() : 1.0;
}

QRect ToDevicePixels(const QRect& rect, qreal ratio) {
  return QRectF(QPointF(rect.topLeft()) * ratio, QSizeF(rect.size()) * ratio).toAlignedRect();
}

// A widget's interface with its extents in device pixels. Hit-testing compares a point with the
// children's extents, so it follows.
class WidgetAccessible : public QAccessibleWidget {
 public:
  using QAccessibleWidget::QAccessibleWidget;

  QRect rect() const override {
    return ToDevicePixels(QAccessibleWidget::rect(), PixelRatio(widget()));
  }
};

#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
// Where the toolkit has no announcements: a notification of the form's window, shown with its
// message; screen readers speak a notification when it is shown.
QObject* AnnouncerOf(QWidget* window) {
  return window->findChild<QObject*>(QLatin1String(kAnnouncerName), Qt::FindDirectChildrenOnly);
}

class NotificationAccessible : public QAccessibleObject {
 public:
  explicit NotificationAccessible(QObject* announcer) : QAccessibleObject(announcer) {}

  QWindow* window() const override { return Window()->windowHandle(); }
  QAccessibleInterface* parent() const override {
    return QAccessible::queryAccessibleInterface(Window());
  }
  int childCount() const override { return 0; }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Name ? object()->property(kMessageProperty).toString() : QString();
  }
  void setText(QAccessible::Text, const QString&) override {}
  QAccessible::Role role() const override { return QAccessible::Notification; }
  QAccessible::State state() const override { return {}; }
  QRect rect() const override { return {}; }

 private:
  QWidget* Window() const { return static_cast<QWidget*>(object()->parent()); }
};
#endif

// The form's top-level window: a frame, named by its title, that window-relative coordinates are
// measured from.
class FormAccessible : public WidgetAccessible {
 public:
  explicit FormAccessible(QWidget* window) : WidgetAccessible(window, QAccessible::Window) {}

#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
  // The announcer, when there is one, is the last child.
  int childCount() const override { return WidgetAccessible::childCount() + (Announcer() ? 1 : 0); }
  QAccessibleInterface* child(int index) const override {
    if (index == WidgetAccessible::childCount() && Announcer() != nullptr) {
      return QAccessible::queryAccessibleInterface(Announcer());
    }
    return WidgetAccessible::child(index);
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    if (child != nullptr && child->object() != nullptr && child->object() == Announcer()) {
      return WidgetAccessible::childCount();
    }
    return WidgetAccessible::indexOfChild(child);
  }

 private:
  QObject* Announcer() const { return AnnouncerOf(widget()); }
#endif
};

class LabelAccessible : public WidgetAccessible {
 public:
  explicit LabelAccessible(QLabel* label) : WidgetAccessible(label, QAccessible::StaticText) {}

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) return label()->text();
    return WidgetAccessible::text(t);
  }

  // A label names its buddy; the field's side comes from the base class.
  QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(
      QAccessible::Relation match) const override {
    auto result = WidgetAccessible::relations(match);
    if ((match & QAccessible::Labelled) != 0 && label()->buddy() != nullptr) {
      result.append(
          {QAccessible::queryAccessibleInterface(label()->buddy()), QAccessible::Labelled});
    }
    return result;
  }

 private:
  QLabel* label() const { return static_cast<QLabel*>(widget()); }
};

class ButtonAccessible : public WidgetAccessible {
 public:
  explicit ButtonAccessible(QPushButton* button) : WidgetAccessible(button, QAccessible::Button) {}

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) return button()->text();
    return WidgetAccessible::text(t);
  }

  QAccessible::State state() const override {
    QAccessible::State state = WidgetAccessible::state();
    state.defaultButton = button()->isDefault();
    return state;
  }

  QStringList actionNames() const override {
    return QStringList{pressAction()} + WidgetAccessible::actionNames();
  }

  void doAction(const QString& action) override {
    if (action == pressAction()) {
      if (button()->isEnabled()) button()->click();
      return;
    }
    WidgetAccessible::doAction(action);
  }

 private:
  QPushButton* button() const { return static_cast<QPushButton*>(widget()); }
};

// A line edit's text, one run of attributes over all of it. A read-only field offers no editing
// interface at all, so that nothing but the program writes into it; its text stays selectable.
class LineEditAccessible : public WidgetAccessible,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface {
 public:
  explicit LineEditAccessible(QLineEdit* edit)
      : WidgetAccessible(edit, QAccessible::EditableText) {}

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value) return edit()->text();
    return WidgetAccessible::text(t);
  }

  QAccessible::State state() const override {
    QAccessible::State state = WidgetAccessible::state();
    state.readOnly = edit()->isReadOnly();
    state.editable = !edit()->isReadOnly();
    state.selectableText = true;
    return state;
  }

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    if (type == QAccessible::EditableTextInterface && !edit()->isReadOnly()) {
      return static_cast<QAccessibleEditableTextInterface*>(this);
    }
    return WidgetAccessible::interface_cast(type);
  }

  // Text
  void selection(int index, int* start, int* end) const override {
    *start = *end = 0;
    if (index != 0 || !edit()->hasSelectedText()) return;
    *start = edit()->selectionStart();
    *end = *start + static_cast<int>(edit()->selectedText().size());
  }
  int selectionCount() const override { return edit()->hasSelectedText() ? 1 : 0; }
  void addSelection(int start, int end) override { setSelection(0, start, end); }
  void removeSelection(int index) override {
    if (index == 0) edit()->deselect();
  }
  void setSelection(int index, int start, int end) override {
    if (index == 0) edit()->setSelection(start, end - start);
  }
  int cursorPosition() const override { return edit()->cursorPosition(); }
  void setCursorPosition(int position) override { edit()->setCursorPosition(position); }
  QString text(int start, int end) const override { return edit()->text().mid(start, end - start); }
  int characterCount() const override { return static_cast<int>(edit()->text().size()); }

  QRect characterRect(int offset) const override {
    const QRect local = LocalCharacterRect(offset);
    if (local.isNull()) return {};
    return ToDevicePixels(QRect(edit()->mapToGlobal(local.topLeft()), local.size()),
                          PixelRatio(edit()));
  }

  // The characters' left edges grow with the offset: a binary search finds the one under the
  // point, so that a long text costs a few measurements, not one per character.
  int offsetAtPoint(const QPoint& point) const override {
    const QPoint local = edit()->mapFromGlobal((QPointF(point) / PixelRatio(edit())).toPoint());
    const QString text = edit()->text();
    const QFontMetrics metrics(edit()->font());
    const int origin = TextOrigin();
    int first = 0;
    int last = static_cast<int>(text.size()) - 1;
    while (first < last) {  // the last offset whose character starts at or before the point
      const int middle = (first + last + 1) / 2;
      if (origin + metrics.horizontalAdvance(text.left(middle)) <= local.x()) {
        first = middle;
      } else {
        last = middle - 1;
      }
    }
    return LocalCharacterRect(first).contains(local) ? first : -1;
  }

  void scrollToSubstring(int start, int) override { edit()->setCursorPosition(start); }

  QString attributes(int offset, int* start, int* end) const override {
    *start = 0;
    *end = characterCount();
    if (offset < 0 || offset > *end) *start = *end = -1;
    return {};
  }

  // Editable text, for the fields a person types into. Offsets outside the text are moved to
  // its nearer end: nothing is padded, and no range runs backwards.
  void deleteText(int start, int end) override { replaceText(start, end, {}); }
  void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
  void replaceText(int start, int end, const QString& text) override {
    QString value = edit()->text();
    const int size = static_cast<int>(value.size());
    start = std::clamp(start, 0, size);
    end = std::clamp(end, start, size);
    edit()->setText(value.replace(start, end - start, text));
  }

 private:
  QLineEdit* edit() const { return static_cast<QLineEdit*>(widget()); }

  QRect CursorRect() const { return edit()->inputMethodQuery(Qt::ImCursorRectangle).toRect(); }

  // Where the first character starts, scrolling included: the cursor less the text before it.
  int TextOrigin() const {
    const QFontMetrics metrics(edit()->font());
    const QRect cursor = CursorRect();
    return cursor.left() + cursor.width() / 2 -
           metrics.horizontalAdvance(edit()->text().left(edit()->cursorPosition()));
  }

  // A character's box in the line edit's own coordinates; null past the text.
  QRect LocalCharacterRect(int offset) const {
    const QString text = edit()->text();
    if (offset < 0 || offset >= text.size()) return {};
    const QFontMetrics metrics(edit()->font());
    const QRect cursor = CursorRect();
    return {TextOrigin() + metrics.horizontalAdvance(text.left(offset)), cursor.top(),
            metrics.horizontalAdvance(text.at(offset)), cursor.height()};
  }
};

QAccessibleInterface* MakeInterface(const QString&, QObject* object) {
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
  if (object->objectName() == QLatin1String(kAnnouncerName) && object->parent() != nullptr &&
      object->parent()->isWidgetType()) {
    return new NotificationAccessible(object);
  }
#endif
  if (!object->isWidgetType()) return nullptr;
  auto* widget = static_cast<QWidget*>(object);
  if (widget->property(kFormProperty).toBool()) return new FormAccessible(widget);
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) return new LineEditAccessible(edit);
  if (auto* label = qobject_cast<QLabel*>(widget)) return new LabelAccessible(label);
  if (auto* button = qobject_cast<QPushButton*>(widget)) return new ButtonAccessible(button);
  return nullptr;
}

}  // namespace

void InstallAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(MakeInterface);
    return true;
  }();
  (void)installed;
}

void MarkAsForm(QWidget& window) { window.setProperty(kFormProperty, true); }

namespace {

void Announce(QWidget* window, const QString& message) {
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
  QAccessibleAnnouncementEvent event(window, message);
  QAccessible::updateAccessibility(&event);
#else
  QObject* announcer = AnnouncerOf(window);
  if (announcer == nullptr) {
    announcer = new QObject(window);
    announcer->setObjectName(QLatin1String(kAnnouncerName));
  }
  announcer->setProperty(kMessageProperty, message);
  QAccessibleEvent event(announcer, QAccessible::ObjectShow);
  QAccessible::updateAccessibility(&event);
#endif
}

}  // namespace

void AnnounceResults(QWidget& field) {
  if (!QAccessible::isActive()) return;
  QWidget* window = field.window();
  if (window->property(kQueuedProperty).toBool()) return;
  window->setProperty(kQueuedProperty, true);
  // Every result set in one go is announced once, after the last of them.
  QTimer::singleShot(0, window, [window] {
    window->setProperty(kQueuedProperty, false);
    QStringList results;
    for (const QLineEdit* edit : window->findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly)) {
      if (edit->isReadOnly())
        results << edit->accessibleName() + QStringLiteral(": ") + edit->text();
    }
    Announce(window, results.join(QStringLiteral(", ")));
  });
}
