#include "app/Startup.h"
#include "ui/Unit1.h"

// The command line is not read: the toolkit is given the program's name alone.
int main() { return StartApplication(Form1); }
