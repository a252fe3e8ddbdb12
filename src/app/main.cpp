#include "app/win_main.h"

// The program takes no arguments.
int main() {
    return WinMain();
}
