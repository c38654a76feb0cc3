#include "platform/qt/DesktopContrast.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QFileInfo>
#include <QPointer>
#include <QTimer>

namespace {

const QString kPortal = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kSettings = QStringLiteral("org.freedesktop.portal.Settings");
const QString kGroup = QStringLiteral("org.freedesktop.appearance");
const QString kKey = QStringLiteral("contrast");

// 1 asks for higher contrast; 0 (or anything else) states no preference. Read wraps the value
// in one more variant than ReadOne.
bool IsHigh(QVariant value) {
  while (value.userType() == qMetaTypeId<QDBusVariant>()) {
    value = value.value<QDBusVariant>().variant();
  }
  return value.toUInt() == 1;
}

// Where no session bus is named or at its usual place, none is started just to ask.
bool SessionBusIsThere() {
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  return qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS") ||
         (!runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus")));
}

}  // namespace

DesktopContrast& DesktopContrast::Instance() {
  static QPointer<DesktopContrast> instance;
  if (instance.isNull()) instance = new DesktopContrast(QCoreApplication::instance());
  return *instance;
}

DesktopContrast::DesktopContrast(QObject* parent) : QObject(parent) {
  // Connecting to the bus waits for it: left to the event loop, once the window is shown.
  QTimer::singleShot(0, this, &DesktopContrast::Listen);
}

void DesktopContrast::Listen() {
  if (!SessionBusIsThere()) return;
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return;
  bus.connect(QString(), kPath, kSettings, QStringLiteral("SettingChanged"), this,
              SLOT(SettingChanged(QString, QString, QDBusVariant)));
  Read(QStringLiteral("ReadOne"));
}

// ReadOne, where the portal has it; older portals have only Read.
void DesktopContrast::Read(const QString& method) {
  QDBusMessage call = QDBusMessage::createMethodCall(kPortal, kPath, kSettings, method);
  call << kGroup << kKey;
  auto* watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, method](auto* finished) {
    finished->deleteLater();
    const QDBusPendingReply<QDBusVariant> reply = *finished;
    if (!reply.isError()) {
      Set(IsHigh(QVariant::fromValue(reply.value())));
    } else if (method == QStringLiteral("ReadOne") &&
               reply.error().type() == QDBusError::UnknownMethod) {
      Read(QStringLiteral("Read"));
    }
  });
}

void DesktopContrast::SettingChanged(const QString& group, const QString& key,
                                     const QDBusVariant& value) {
  if (group == kGroup && key == kKey) Set(IsHigh(value.variant()));
}

void DesktopContrast::Set(bool high) {
  if (high == high_) return;
  high_ = high;
  emit Changed();
}
