#include "host/runLoop.h"

// No command line, environment or files are read.
int main() { return rezuroMain(); }
