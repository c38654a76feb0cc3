#include "platform/AppIdentity.h"
#include "platform/qt/Accessibility.h"
#include "platform/qt/Native.h"
#include "platform/qt/ToolkitStart.h"

#include <QIcon>
#include <QImage>
#include <QMessageBox>
#include <QPixmap>
#include <QResource>

#include <cstdio>

namespace {

// The toolkit sees the program's name alone: the command line has no effect. Unless the user
// chose a platform, X11 comes first, Wayland second: only X11 lets a window place itself, and the
// window's place on the screen is part of its design.
char programName[] = APP_ID;
char platformOption[] = "-platform";
char platformOrder[] = "xcb;wayland";
char* withPlatform[] = {programName, platformOption, platformOrder, nullptr};
char* nameOnly[] = {programName, nullptr};

std::unique_ptr<QApplication> MakeApplication() {
  static int count = 0;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    count = 3;
    return MakeToolkitApplication(count, withPlatform);
  }
  count = 1;
  return MakeToolkitApplication(count, nameOnly);
}

// The icon is stored as raw RGBA pixels at each size: reading a PNG would load every
// image-format plugin to find its reader, which costs the start-up memory and time for nothing.
void SetWindowIcon() {
  QIcon icon;
  for (const int size : {16, 24, 32, 48, 64}) {
    const QByteArray pixels =
        QResource(QStringLiteral(APP_ICON_PIXELS_PREFIX "%1.rgba").arg(size)).uncompressedData();
    if (pixels.size() != size * size * 4) continue;
    const QImage image(reinterpret_cast<const uchar*>(pixels.constData()), size, size, size * 4,
                       QImage::Format_RGBA8888);
    icon.addPixmap(QPixmap::fromImage(image));  // copies the pixels
  }
  QApplication::setWindowIcon(icon);
}

}  // namespace

TApplication::TApplication() : TComponent(nullptr), native_(std::make_unique<Native>()) {}

TApplication::~TApplication() {
  DestroyComponents();
  // Still here only when Run never finished (a failed start, a test). Exit handlers have already
  // destroyed statics the toolkit would touch while tearing down; the process is ending anyway.
  (void)native_->application.release();
}

void TApplication::Initialize() {
  if (native_->application) return;
  QCoreApplication::setApplicationName(QStringLiteral(APP_ID));
  QGuiApplication::setApplicationDisplayName(QStringLiteral(APP_NAME));
  QGuiApplication::setDesktopFileName(QStringLiteral(APP_ID));
  native_->application = MakeApplication();
  InstallAccessibility();
  SetWindowIcon();
}

void TApplication::Run() {
  if (!native_->application) throw Exception("the application was not initialized");
  if (mainForm_ == nullptr) return;
  NativeWindow(*mainForm_)->show();
  QApplication::exec();
  // Tear down while the toolkit is whole: forms first, then the toolkit.
  DestroyComponents();
  mainForm_ = nullptr;
  native_->application.reset();
}

void TApplication::ShowException(const Exception& exception) {
  const QString message = QString::fromStdString(exception.Message());
  if (!native_->application) {
    std::fprintf(stderr, "%s: %s\n", APP_ID, exception.Message().c_str());
    return;
  }
  QWidget* parent = mainForm_ != nullptr && NativeWindow(*mainForm_)->isVisible()
                        ? NativeWindow(*mainForm_)
                        : nullptr;
  QMessageBox box(QMessageBox::Critical, QStringLiteral(APP_NAME), message, QMessageBox::Ok,
                  parent);
  box.setObjectName(QStringLiteral("ExceptionDialog"));
  box.exec();
}

namespace {
TApplication theApplication;
}  // namespace

TApplication* Application = &theApplication;
