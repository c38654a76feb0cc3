#include "platform/AppIdentity.h"
#include "platform/qt/Native.h"

#include <QIcon>
#include <QImage>
#include <QMessageBox>
#include <QPixmap>
#include <QResource>

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// The toolkit sees the program's name alone: the command line has no effect.
int argumentCount = 1;
char programName[] = APP_ID;
char* arguments[] = {programName, nullptr};

// The toolkit aborts the process when its X11 plugin cannot reach a display; find out first.
void RequireDisplay() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  const bool x11 = platform != nullptr && *platform != '\0'
                       ? std::string(platform).starts_with("xcb")
                       : std::getenv("WAYLAND_DISPLAY") == nullptr;
  if (!x11) return;
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  const bool reached = xcb_connection_has_error(connection) == 0;
  xcb_disconnect(connection);
  if (!reached) {
    const char* display = std::getenv("DISPLAY");
    throw Exception(std::string("cannot open the display \"") + (display ? display : "") +
                    "\": this program needs a graphical session");
  }
}

// The icon is stored as raw 32 x 32 RGBA pixels: reading a PNG would load every image-format
// plugin to find its reader, which costs the start-up memory and time for nothing.
void SetWindowIcon() {
  constexpr int kSize = 32;
  const QByteArray pixels = QResource(QStringLiteral(APP_ICON_PIXELS)).uncompressedData();
  if (pixels.size() != kSize * kSize * 4) return;
  const QImage icon(reinterpret_cast<const uchar*>(pixels.constData()), kSize, kSize, kSize * 4,
                    QImage::Format_RGBA8888);
  QApplication::setWindowIcon(QIcon(QPixmap::fromImage(icon)));  // copies the pixels
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
  RequireDisplay();
  QCoreApplication::setApplicationName(QStringLiteral(APP_ID));
  QGuiApplication::setApplicationDisplayName(QStringLiteral(APP_NAME));
  QGuiApplication::setDesktopFileName(QStringLiteral(APP_ID));
  native_->application = std::make_unique<QApplication>(argumentCount, arguments);
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
