// The score card: a 100 x 100 picture of the finished game's time, saved as
// "score.png", followed by a scrambled score record appended to that file.
#include "game/score_card.h"

#include "game/score_record.h"
#include "runtime/core/text_win.h"
#include "runtime/file/file.h"
#include "runtime/image/drawing.h"
#include "runtime/image/font.h"
#include "runtime/image/image.h"
#include "runtime/image/image_output.h"
#include "runtime/image/image_save.h"

const char SCORE_FILE_NAME[] = "score.png";

namespace {

const intptr_t IMAGE_CARD = 100;
const intptr_t FONT_CARD_LARGE = 100;
const intptr_t FONT_CARD_SMALL = 101;
const intptr_t FILE_SCORE = 0;

const char CARD_FACE[] = "Tahoma";
const char CARD_TITLE[] = "Zorvant v1.0";
const int32_t CARD_SIZE = 100;

const int32_t COLOUR_ORANGE = 0x7EFF;
const int32_t COLOUR_WHITE = 0xFFFFFF;
const int32_t COLOUR_BLACK = 0;

// Draws the text centred on the card with its top edge at y.
void card_text_centred(int32_t y, const char* text, int32_t front)
{
    draw_text(CARD_SIZE / 2 - drawing_text_width(text) / 2, y, text, front, COLOUR_BLACK);
}

void card_draw(int32_t seconds)
{
    drawing_set_font(font_handle(FONT_CARD_LARGE));
    char* time = nullptr;
    int32_t s = text_begin();
    text_from_int(seconds);
    text_store(&time, s);
    card_text_centred(30, time, COLOUR_ORANGE);
    text_free(time);

    // Two fans of lines in the background colour: they stripe the digits
    // where they cross them and vanish on the black card everywhere else.
    for (int32_t i = 1; i <= 50; ++i)
        draw_line(0, 2 * i, 100, 3 * i, COLOUR_BLACK);
    for (int32_t i = 1; i <= 50; ++i)
        draw_line(2 * i, 0, 4 * i, 100, COLOUR_BLACK);

    drawing_set_font(font_handle(FONT_CARD_SMALL));
    card_text_centred(5, CARD_TITLE, COLOUR_WHITE);

    draw_line(1, 1, 98, 1, COLOUR_ORANGE);
    draw_line(98, 1, 98, 98, COLOUR_ORANGE);
    draw_line(98, 98, 1, 98, COLOUR_ORANGE);
    draw_line(1, 98, 1, 1, COLOUR_ORANGE);
    drawing_stop();
}

// The record behind the card: the scrambled text, then CR LF and its length.
void record_append(int32_t seconds)
{
    char scrambled[SCORE_TEXT_MAX + 1];
    int32_t n = int32_t(score_record_text(seconds, scrambled));
    file_open(FILE_SCORE, SCORE_FILE_NAME);
    file_seek(FILE_SCORE, file_length(FILE_SCORE));
    file_write_line(FILE_SCORE, scrambled);
    file_write_byte(FILE_SCORE, n);
    file_close(FILE_SCORE);
}

}  // namespace

void score_card_write(int32_t seconds)
{
    image_create(IMAGE_CARD, CARD_SIZE, CARD_SIZE);
    font_load(FONT_CARD_LARGE, CARD_FACE, 28);
    font_load(FONT_CARD_SMALL, CARD_FACE, 6);
    if (drawing_start(image_output(IMAGE_CARD)))
        card_draw(seconds);
    image_save(IMAGE_CARD, SCORE_FILE_NAME, ENCODER_PNG);
    image_free(IMAGE_CARD);
    font_free(FONT_CARD_LARGE);
    font_free(FONT_CARD_SMALL);
    record_append(seconds);
}
