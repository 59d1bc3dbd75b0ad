#pragma once

#include "datfile/keynames.h"

#include <string_view>

namespace plv::fuzz {

// Reads the image record by record, as the reader does, without a catalogue. Every command
// and LIST that reads is written again and must read back the same, and the walk must agree
// with readsToItsEnd. Aborts (a finding) when either fails.
void walkRecords(std::string_view image, const dat::KeyNames& keys);

} // namespace plv::fuzz
