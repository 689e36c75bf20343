// Starts the desktop program and runs it until its window closes.
#pragma once

int RunApplication(int argc, char** argv);
