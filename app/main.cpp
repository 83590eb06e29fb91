#include "app/Rowpluck.h"

int main(int argc, char** argv) { app::Start(argc, argv); }
