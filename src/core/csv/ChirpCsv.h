#pragma once
// The channel-list layout most radio programs and repeater directories share
// ("CHIRP CSV"): one header line naming the columns, in any order, among them
// Location, Frequency, Duplex, Offset, Tone, rToneFreq, cToneFreq, DtcsCode,
// DtcsPolarity, RxDtcsCode, CrossMode, Mode, Skip and Power.
#include <string>
#include <vector>

#include "csv/CsvChannelRow.h"
#include "csv/CsvReader.h"
#include "image/RadioImage.h"

// Whether `header` names the columns of this layout.
bool IsChirpHeader(const CsvRecord& header);
// The names of the layout's columns, as its header gives them.
const std::vector<std::string>& ChirpColumnNames();

// The grid texts of every line after the header. A Location of 0 anywhere
// makes the list 0-based (channel = Location + 1); a Location without a
// frequency is an unused memory and left out; a line shorter than the header
// is refused. Columns the radio has no place for are dropped. Optional
// signalling, PTT ID and busy lockout, and the tones, Mode, Skip and Power
// when the list lacks their columns, are marked unsaid.
std::vector<CsvChannelRow> ReadChirpRows(const std::vector<CsvRecord>& records);

// The channels in use in this layout, Location = channel number.
std::string ExportChirpCsv(const RadioImage& image);
