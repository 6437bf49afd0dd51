// Decoding of the tablet's raw bytes: 12-byte input reports, the identity strings read
// as USB string descriptors 201 (model) and 200 (information block), and key codes.
#pragma once

#include "core/model/NVTypes.h"

#include <cstdint>

constexpr int NV_REPORT_SIZE = 12;
constexpr uint8_t NV_REPORT_ID = 8;

// Report accessors: the caller guarantees NV_REPORT_SIZE bytes.
bool is_invalid_report(const uint8_t* r);
uint8_t report_type(const uint8_t* r);
uint32_t report_x(const uint8_t* r);
uint32_t report_y(const uint8_t* r);
uint16_t report_p(const uint8_t* r);
int8_t report_ax(const uint8_t* r);
int8_t report_ay(const uint8_t* r);
uint32_t report_hbtn_id(const uint8_t* r);
uint8_t report_slider_id(const uint8_t* r);
uint16_t report_touch_id(const uint8_t* r);

// Information-block accessors (descriptor 200 payload, at least 17 bytes).
constexpr int NV_INFO_BLOCK_SIZE = 17;
uint32_t parse_maxx(const uint8_t* b);
uint32_t parse_maxy(const uint8_t* b);
uint16_t parse_maxp(const uint8_t* b);
uint16_t parse_lpi(const uint8_t* b);
uint8_t parse_pbtn_num(const uint8_t* b);
uint8_t parse_hbtn_num(const uint8_t* b);
uint8_t parse_sbtn_num(const uint8_t* b);
uint8_t parse_is_monitor(const uint8_t* b);
uint8_t parse_rate(const uint8_t* b);

// Identity parsers. parse_str_201 reads the first 17 code units of text.
constexpr int NV_IDENTITY_UNITS = 17;
void parse_str_200(const uint8_t* block, NVTabletInfo* ti);
int parse_str_201(const uint16_t* text, NVTabletInfo* ti);

// Appends the UTF-8 form of count code units to dst without a terminator, never past
// dstSize bytes (a unit that does not fit whole ends the conversion). Returns the bytes
// written (or counted when dst is null or dstSize 0), -1 for an unconvertible unit.
int32_t str_utf16_to_utf8(const uint16_t* src, uint32_t count, char* dst, int32_t dstSize);
// UTF-8 form of one code; outSize must be at least 3. Returns its length, 0 above 0xFFFF.
int32_t char_unicode_to_utf8(uint32_t code, uint8_t* out, int32_t outSize);

// Key decoders.
int32_t parse_index_hbtn(uint32_t mask);
int32_t parse_index_touch(uint16_t id);
int32_t orientate_slide(int32_t a, int32_t b);

// Name lookups.
const char* get_dev_type(uint32_t devType);
const char* get_oem_type(uint32_t oemType);
const char* get_pen_node_in_xml(uint32_t devType);
