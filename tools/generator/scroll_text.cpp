#include "scroll_text.h"

#include <array>
#include <string_view>

std::string make_scroll_text() {
    static constexpr std::array<std::string_view, 18> lines = {
        "WELCOME TO BLOKIT, THE BLOCK GAME FOR ONE OR TWO PLAYERS!",
        "   ***   ON THIS SCREEN PRESS 1 FOR ONE PLAYER, 2 FOR TWO PLAYERS,",
        "B FOR THE BLOB MODE, SPACE OR RETURN TO START, ESC TO QUIT.",
        "   ***   ONE PLAYER: LEFT AND RIGHT ARROWS MOVE, DOWN ARROW ROTATES,",
        "CTRL DROPS - PRESS F1 FOR UP TO ROTATE AND DOWN TO DROP.",
        "   ***   TWO PLAYERS: ON THE LEFT A AND D MOVE, S ROTATES, SHIFT DROPS",
        "(F1 SWITCHES TO W TO ROTATE AND S TO DROP); ON THE RIGHT THE ARROWS",
        "MOVE, DOWN ROTATES, CTRL DROPS (F2 SWITCHES TO UP AND DOWN).",
        "   ***   P PAUSES THE GAME, ESC ENDS IT.",
        "   ***   BLOKIT: FILL WHOLE ROWS TO CLEAR THEM. EVERY FIVE ROWS RAISE THE",
        "LEVEL, AND TWO OR MORE ROWS AT ONCE PUSH GARBAGE ONTO YOUR RIVAL'S BOARD.",
        "   ***   BLOB: THE PIECES CRUMBLE AS THEY LAND, AND EVERY GROUP OF 16 OR",
        "MORE CELLS OF ONE COLOUR MELTS AWAY - WATCH OUT FOR CHAIN REACTIONS!",
        "   ***   CREDITS: GAME DESIGN, PROGRAMMING, GRAPHICS, SOUND EFFECTS AND",
        "MUSIC BY QUILLMOOR.",
        "   ***   HAVE FUN AND GOOD LUCK!",
        "   ***   ",
        "",
    };
    std::string text;
    for (std::string_view line : lines) {
        if (!line.empty()) {
            text.append(line);
            text.append(" \r\n");
        }
    }
    return text;
}
