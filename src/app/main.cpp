// The program's entry point.
#include "app/application.h"

int main(int argc, char** argv) { return RunApplication(argc, argv); }
