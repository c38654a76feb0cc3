#pragma once

// Whether the desktop asks applications for higher contrast: the settings portal's
// org.freedesktop.appearance "contrast". Read without blocking once the event loop runs, and
// followed while the program runs; without a session bus or portal it stays off.

#include <QDBusVariant>
#include <QObject>
#include <QString>

class DesktopContrast : public QObject {
  Q_OBJECT

 public:
  // The application's one instance, made on first use and gone with the application.
  static DesktopContrast& Instance();
  bool High() const { return high_; }

 signals:
  void Changed();

 private slots:
  void SettingChanged(const QString& group, const QString& key, const QDBusVariant& value);

 private:
  explicit DesktopContrast(QObject* parent);
  void Listen();
  void Read(const QString& method);
  void Set(bool high);

  bool high_ = false;
};
