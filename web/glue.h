#pragma once
// What the page calls in loadcalc.wasm. Fields are numbered from 0 in the field table's order,
// calculations from 0 in the calculation table's, as lc_controls lists their controls. Text goes in
// through lc_input's buffer and comes out as the returned pointer, of lc_output_size() bytes, valid
// until the next call; effects come out as a JSON array.

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
}
