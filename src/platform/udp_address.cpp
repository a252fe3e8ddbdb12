#include <string>

#include "platform/udp_socket.h"

namespace platform {

std::string ipv4_text(std::uint32_t ipv4) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        text += std::to_string(ipv4 >> shift & 0xFF);
        if (shift > 0)
            text += '.';
    }
    return text;
}

} // namespace platform
