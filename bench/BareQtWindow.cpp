// The reference for the start-up benchmark: the same window written directly on Qt Widgets, with
// no seam and no form description. Same controls, places, fonts, colours and tab order.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

namespace {

QFont Font(const char* family, int pixels, bool bold) {
  QFont font(QString::fromLatin1(family));
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

QLabel* Label(QWidget* window, const char* text, int left, int top, int width, int height,
              int pixels) {
  auto* label = new QLabel(QString::fromLatin1(text), window);
  label->setFont(Font("Arial", pixels, true));
  const QFontMetrics metrics(label->font());
  label->setGeometry(left, top, std::max(width, metrics.horizontalAdvance(label->text())),
                     std::max(height, metrics.height()));
  return label;
}

QLineEdit* Edit(QWidget* window, int top, bool readOnly) {
  auto* edit = new QLineEdit(window);
  edit->setGeometry(195, top, 137, 21);
  edit->setReadOnly(readOnly);
  return edit;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("Quarn EV calculator"));
  window.setFont(Font("Tahoma", 11, false));
  window.move(0, 0);
  window.resize(375, 342);

  QLabel* hint = Label(&window, "Input a . instead of a comma example:  124.56", 8, 8, 343, 19, 16);
  QPalette red = hint->palette();
  red.setColor(QPalette::WindowText, Qt::red);
  hint->setPalette(red);
  auto* button = new QPushButton(QStringLiteral("Calculated"), &window);
  button->setGeometry(195, 296, 75, 25);
  QLineEdit* fields[] = {Edit(&window, 64, false),  Edit(&window, 91, false),
                         Edit(&window, 127, false), Edit(&window, 162, false),
                         Edit(&window, 207, true),  Edit(&window, 239, true)};
  const char* captions[] = {"Money to call:",
                            "Money to win after your call:",
                            "Amount of known cards:",
                            "Your outs:",
                            "Call EV:",
                            "Fold EV:"};
  const int tops[] = {65, 96, 128, 163, 208, 239};
  const int widths[] = {89, 181, 153, 62, 49, 52};
  for (int i = 0; i < 6; ++i) {
    Label(&window, captions[i], 8, tops[i], widths[i], 16, 13)->setBuddy(fields[i]);
  }
  QWidget::setTabOrder(button, fields[0]);
  for (int i = 1; i < 6; ++i) QWidget::setTabOrder(fields[i - 1], fields[i]);
  button->setFocus();
  window.show();
  return QApplication::exec();
}
