#pragma once
// What the page calls in loadcalc.wasm. Fields are numbered from 0 in the field table's order,
// calculations from 0 in the calculation table's, as lc_controls lists their controls. Text goes in
// through lc_input's buffer and comes out as the returned pointer, of lc_output_size() bytes, valid
// until the next call; effects come out as a JSON array.
//
// The generalised formulas (a wall of layers, any number of openings, the stair's materials and
// extra loads) take numbers rather than the sheet's texts: the page fills the buffer lc_numbers()
// hands out, in the order each function names, and gets the caption back as text and the figure
// itself from lc_value().

#include <cstddef>

extern "C" {

char* lc_input(std::size_t size);
std::size_t lc_output_size();
const char* lc_start();
const char* lc_edit(int field);
const char* lc_commit(int field);
const char* lc_enter(int field);
int lc_key_filter(int code);
const char* lc_controls();
const char* lc_working(int calculation, int html);
const char* lc_sheet_html();
double* lc_numbers(std::size_t count);
double lc_wall_weight(int layers);
const char* lc_beam_line_load(int openings);
const char* lc_stair_dead_load(int extras);
double lc_value();
}
