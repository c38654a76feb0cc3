#pragma once

// Makes the toolkit's application object so that a start that cannot succeed (no display, no
// usable platform plugin) ends with one line on stderr and exit code 1 instead of an abort.

#include <QApplication>

#include <memory>

// Constructs the application object with the given arguments. While it is made, the toolkit's
// messages and any other output on stderr are held back: on success they are passed on as they
// came; on the toolkit's fatal error the process prints one line naming what is missing, built
// from those messages, and exits with 1.
std::unique_ptr<QApplication> MakeToolkitApplication(int& argc, char** argv);
