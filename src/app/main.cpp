#include "app/program_start.h"
#include "platform/window.h"

int main(int argc, char** argv) {
    return start_program(argc, argv, platform::show_normal);
}
