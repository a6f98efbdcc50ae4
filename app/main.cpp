#include "start.h"

int main(int argc, char* argv[]) { return tarvelo::Start(argc, argv); }
