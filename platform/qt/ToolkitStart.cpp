#include "platform/qt/ToolkitStart.h"

#include "platform/AppIdentity.h"

#include <QByteArray>
#include <QMessageLogger>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct HeldMessage {
  QtMsgType type;
  std::string category;
  QString text;
};

// Held while the application object is being made; the handler below is a plain function.
std::vector<HeldMessage>* held = nullptr;
int savedStderr = -1;
std::FILE* strayOutput = nullptr;

// Sends stderr to a scratch file, so that libraries writing there directly stay quiet too.
void HoldStderr() {
  std::fflush(stderr);
  strayOutput = std::tmpfile();
  savedStderr = strayOutput != nullptr ? dup(STDERR_FILENO) : -1;
  if (savedStderr < 0 || dup2(fileno(strayOutput), STDERR_FILENO) < 0) {
    if (savedStderr >= 0) close(savedStderr);
    savedStderr = -1;
  }
}

// Restores stderr; with `replay`, first copies what was written there meanwhile.
void ReleaseStderr(bool replay) {
  if (savedStderr >= 0) {
    std::fflush(stderr);
    dup2(savedStderr, STDERR_FILENO);
    close(savedStderr);
    savedStderr = -1;
    if (replay) {
      std::rewind(strayOutput);
      char buffer[4096];
      for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, strayOutput)) > 0;) {
        if (std::fwrite(buffer, 1, n, stderr) != n) break;
      }
    }
  }
  if (strayOutput != nullptr) std::fclose(strayOutput);
  strayOutput = nullptr;
}

// One clause per platform the toolkit tried: "xcb: could not connect to display :1". The plugin
// loader's general hints (such as a library a newer plugin needs) are given only where nothing
// more specific explains the failure.
QString DescribeFailure(const std::vector<HeldMessage>& messages) {
  static const QRegularExpression notLoaded(
      QStringLiteral(R"re(^Could not load the Qt platform plugin "([^"]*)")re"));
  static const QRegularExpression notFound(
      QStringLiteral(R"re(^Could not find the Qt platform plugin "([^"]*)")re"));
  QStringList clauses;
  QStringList reasons;
  QStringList hints;
  const auto explanation = [&] {
    const QStringList& why = reasons.isEmpty() ? hints : reasons;
    return why.isEmpty() ? QStringLiteral("the platform plugin failed to start")
                         : why.join(QStringLiteral(", "));
  };
  for (const HeldMessage& message : messages) {
    if (message.type == QtFatalMsg || message.type == QtDebugMsg) continue;
    const QString text = message.text.simplified();
    if (const auto match = notLoaded.match(text); match.hasMatch()) {
      clauses << match.captured(1) + QStringLiteral(": ") + explanation();
      reasons.clear();
      hints.clear();
    } else if (const auto match = notFound.match(text); match.hasMatch()) {
      clauses << match.captured(1) + QStringLiteral(": no such platform plugin is installed");
      reasons.clear();
      hints.clear();
    } else if (text == QStringLiteral("could not connect to display")) {
      reasons << QStringLiteral("could not connect to an X display (DISPLAY is not set)");
    } else if (text.startsWith(QStringLiteral("Failed to create wl_display"))) {
      reasons << QStringLiteral("could not connect to a Wayland display");
    } else if (message.category == "qt.qpa.plugin") {
      if (message.type != QtInfoMsg) hints << text;
    } else if (message.type != QtInfoMsg && !text.isEmpty()) {
      reasons << text;
    }
  }
  clauses << reasons << hints;
  if (clauses.isEmpty()) clauses << QStringLiteral("no platform plugin could be started");
  return clauses.join(QStringLiteral("; "));
}

void HoldMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  held->push_back({type, context.category != nullptr ? context.category : "", text});
  if (type != QtFatalMsg) return;
  // The toolkit cannot go on from here: report, and end without the abort that would follow.
  ReleaseStderr(false);
  const QString line = QStringLiteral(APP_ID
                                      ": cannot open a window, this program needs a "
                                      "graphical session: ") +
                       DescribeFailure(*held);
  std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
  std::fflush(stderr);
  std::_Exit(1);
}

void Replay(const HeldMessage& message) {
  const QMessageLogger logger(nullptr, 0, nullptr, message.category.c_str());
  const QByteArray text = message.text.toLocal8Bit();
  switch (message.type) {
    case QtDebugMsg:
      logger.debug("%s", text.constData());
      break;
    case QtInfoMsg:
      logger.info("%s", text.constData());
      break;
    case QtWarningMsg:
      logger.warning("%s", text.constData());
      break;
    default:
      logger.critical("%s", text.constData());
      break;
  }
}

// Holds messages and stderr for its lifetime, then passes on what it held.
class HeldOutput {
 public:
  HeldOutput() {
    held = &messages_;
    previous_ = qInstallMessageHandler(HoldMessage);
    HoldStderr();
  }
  ~HeldOutput() {
    ReleaseStderr(true);
    qInstallMessageHandler(previous_);
    held = nullptr;
    for (const HeldMessage& message : messages_) Replay(message);
  }
  HeldOutput(const HeldOutput&) = delete;
  HeldOutput& operator=(const HeldOutput&) = delete;

 private:
  std::vector<HeldMessage> messages_;
  QtMessageHandler previous_ = nullptr;
};

}  // namespace

std::unique_ptr<QApplication> MakeToolkitApplication(int& argc, char** argv) {
  const HeldOutput output;
  return std::make_unique<QApplication>(argc, argv);
}
