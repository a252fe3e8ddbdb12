#include "res/font_file.h"

#include "res/picture.h"

Font make_font(const char* name, int y_offset, int glyph_width, int glyph_height) {
    Surface sheet;
    if (!name || load_picture(name, sheet, nullptr) != 1)
        sheet.reset();
    return make_font(std::move(sheet), y_offset, glyph_width, glyph_height);
}
