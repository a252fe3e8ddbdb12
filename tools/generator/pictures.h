#pragma once

#include "canvas.h"

// The full-screen pictures and the title logo, all in the shared palette.
Canvas make_maker_logo();       // QMLOGO.PIX, 640 x 480
Canvas make_advert();           // WERBEPIX.PIX, 640 x 400
Canvas make_title_background(); // TITELS.PIX, 640 x 480
Canvas make_title_logo();       // BLOKITS.PIX, 600 x 240, index 0 transparent
Canvas make_game_background();  // HINTERS.PIX, 640 x 480
