#include "app/program_start.h"
#include "platform/window.h"

// The program takes no arguments.
int main() {
    return start_program(platform::show_normal);
}
