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

// The grid texts of every line after the header. A Location of 0 anywhere
// makes the list 0-based (channel = Location + 1). Columns the radio has no
// place for are dropped; optional signalling, PTT ID and busy lockout take a
// new channel's defaults.
std::vector<CsvChannelRow> ReadChirpRows(const std::vector<CsvRecord>& records);

// The channels in use in this layout, Location = channel number.
std::string ExportChirpCsv(const RadioImage& image);
