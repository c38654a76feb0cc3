#include "WindowFixture.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>

namespace {

struct Placement {
  const char* name;
  int left, top, width, height;
};

// Where every control must stand, in pixels of the client area.
constexpr Placement kFields[] = {
    {"MoneyToCallEdit", 195, 64, 137, 21}, {"WinningsEdit", 195, 91, 137, 21},
    {"KnownCardsEdit", 195, 127, 137, 21}, {"OutsEdit", 195, 162, 137, 21},
    {"CallEvEdit", 195, 207, 137, 21},     {"FoldEvEdit", 195, 239, 137, 21},
    {"Button1", 195, 296, 75, 25},
};

struct ExpectedLabel {
  const char* name;
  int left, top, minWidth, minHeight;
  const char* caption;
  int pixelSize;
  const char* field;  // the field the label names, or nullptr
};

constexpr ExpectedLabel kLabels[] = {
    {"Label6", 8, 8, 343, 19, "Input a . instead of a comma example:  124.56", 16, nullptr},
    {"Label1", 8, 65, 89, 16, "Money to call:", 13, "MoneyToCallEdit"},
    {"Label2", 8, 96, 181, 16, "Money to win after your call:", 13, "WinningsEdit"},
    {"Label7", 8, 128, 153, 16, "Amount of known cards:", 13, "KnownCardsEdit"},
    {"Label3", 8, 163, 62, 16, "Your outs:", 13, "OutsEdit"},
    {"Label4", 8, 208, 49, 16, "Call EV:", 13, "CallEvEdit"},
    {"Label5", 8, 239, 52, 16, "Fold EV:", 13, "FoldEvEdit"},
};

using Layout = WindowTest;

TEST_F(Layout, WindowTitlePositionAndClientSize) {
  EXPECT_EQ(window_->windowTitle(), "Quarn EV calculator");
  EXPECT_EQ(window_->pos(), QPoint(0, 0));
  EXPECT_EQ(window_->size(), QSize(375, 342));
}

TEST_F(Layout, WindowIconIsTheApplicationIconAtSeveralSizes) {
  EXPECT_EQ(window_->windowIcon().availableSizes(),
            (QList<QSize>{{16, 16}, {24, 24}, {32, 32}, {48, 48}, {64, 64}}));
  const QImage shown = window_->windowIcon()
                           .pixmap(QSize(32, 32), 1.0)
                           .toImage()
                           .convertToFormat(QImage::Format_RGBA8888);
  const QImage drawn = QImage(QStringLiteral(QUARN_SOURCE_DIR "/app/icons/quarn-ev-32.png"))
                           .convertToFormat(QImage::Format_RGBA8888);
  ASSERT_EQ(drawn.size(), QSize(32, 32));
  ASSERT_EQ(shown.size(), QSize(32, 32));
  // The pixmap keeps premultiplied colours: faint pixels may differ in their last bits.
  int differing = 0;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const QColor a = shown.pixelColor(x, y), b = drawn.pixelColor(x, y);
      const int tolerance = b.alpha() < 64 ? 255 : 3;
      if (std::abs(a.alpha() - b.alpha()) > 1 || std::abs(a.red() - b.red()) > tolerance ||
          std::abs(a.green() - b.green()) > tolerance ||
          std::abs(a.blue() - b.blue()) > tolerance) {
        ++differing;
      }
    }
  }
  EXPECT_EQ(differing, 0);
}

TEST_F(Layout, FieldsAndButtonStandAtTheirPlaces) {
  for (const Placement& p : kFields) {
    auto* widget = window_->findChild<QWidget*>(p.name);
    ASSERT_NE(widget, nullptr) << p.name;
    EXPECT_EQ(widget->geometry(), QRect(p.left, p.top, p.width, p.height)) << p.name;
  }
}

TEST_F(Layout, LabelsShowTheirCaptionsUnclippedInBoldArial) {
  for (const ExpectedLabel& expected : kLabels) {
    auto* label = window_->findChild<QLabel*>(expected.name);
    ASSERT_NE(label, nullptr) << expected.name;
    EXPECT_EQ(label->text(), expected.caption);
    EXPECT_EQ(label->alignment(), Qt::AlignLeft | Qt::AlignTop) << expected.name;
    EXPECT_EQ(label->pos(), QPoint(expected.left, expected.top)) << expected.name;
    EXPECT_GE(label->width(), expected.minWidth) << expected.name;
    EXPECT_GE(label->height(), expected.minHeight) << expected.name;
    const QFontMetrics metrics(label->font());
    EXPECT_GE(label->width(), metrics.horizontalAdvance(label->text())) << expected.name;
    EXPECT_GE(label->height(), metrics.height()) << expected.name;
    EXPECT_EQ(label->font().family(), "Arial") << expected.name;
    EXPECT_EQ(label->font().pixelSize(), expected.pixelSize) << expected.name;
    EXPECT_TRUE(label->font().bold()) << expected.name;
    // Arial is drawn with a metric-compatible face, so the captions keep their widths.
    EXPECT_EQ(QFontInfo(label->font()).family(), "Liberation Sans") << expected.name;
  }
}

TEST_F(Layout, HintLineIsRedCaptionsAreWindowText) {
  const QColor red(255, 0, 0);
  for (const ExpectedLabel& expected : kLabels) {
    auto* label = window_->findChild<QLabel*>(expected.name);
    const QColor colour =
        expected.field == nullptr ? red : QApplication::palette().windowText().color();
    EXPECT_EQ(label->palette().color(QPalette::WindowText), colour) << expected.name;
  }
}

TEST_F(Layout, FieldsAndButtonUseTheFormFont) {
  EXPECT_EQ(window_->palette().color(window_->backgroundRole()),
            QApplication::palette().button().color());
  for (const Placement& p : kFields) {
    const QFont font = window_->findChild<QWidget*>(p.name)->font();
    EXPECT_EQ(font.family(), "Tahoma") << p.name;
    EXPECT_EQ(font.pixelSize(), 11) << p.name;
    EXPECT_FALSE(font.bold()) << p.name;
  }
}

TEST_F(Layout, EachFieldIsNamedByItsLabel) {
  for (const ExpectedLabel& expected : kLabels) {
    if (expected.field == nullptr) continue;
    auto* label = window_->findChild<QLabel*>(expected.name);
    QLineEdit* field = Edit(expected.field);
    EXPECT_EQ(label->buddy(), field) << expected.name;
    QString name = expected.caption;
    name.chop(1);  // the colon
    EXPECT_EQ(field->accessibleName(), name);
  }
}

TEST_F(Layout, StartsEmptyWithOnlyResultFieldsReadOnly) {
  for (const char* name : {"MoneyToCallEdit", "WinningsEdit", "KnownCardsEdit", "OutsEdit"}) {
    EXPECT_TRUE(Edit(name)->text().isEmpty()) << name;
    EXPECT_FALSE(Edit(name)->isReadOnly()) << name;
  }
  for (const char* name : {"CallEvEdit", "FoldEvEdit"}) {
    EXPECT_TRUE(Edit(name)->text().isEmpty()) << name;
    EXPECT_TRUE(Edit(name)->isReadOnly()) << name;
  }
  EXPECT_EQ(Button()->text(), "Calculated");
}

}  // namespace
