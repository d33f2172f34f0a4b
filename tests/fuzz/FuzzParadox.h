// The one entry point both the libFuzzer target and the plain replay driver feed.
// Input layout: 4 bytes little-endian length n of the .DB, the n bytes of the .DB, then the .MB (absent when
// nothing follows). A length past the end takes the whole rest as the .DB.
#pragma once

#include <cstddef>
#include <cstdint>

int fuzzParadoxOne(const std::uint8_t* data, std::size_t size);
