#pragma once
// The work of each fuzz target, shared by the libFuzzer programs and the regression test
// that replays every input that ever crashed one of them.
#include <cstddef>
#include <cstdint>

// The bytes as a whole "system.pkd": Open, lookups, and a read of every entry.
int fuzzPackDirectory(const uint8_t* data, size_t size);
// The bytes as one PNG entry, through both decoders.
int fuzzPngDecoders(const uint8_t* data, size_t size);
// The bytes as an archive handed to "pkd extract": whatever it holds, nothing may be written
// outside the target folder.
int fuzzPkdExtract(const uint8_t* data, size_t size);
