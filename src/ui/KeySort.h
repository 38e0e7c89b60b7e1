// Stable orders of many keys without a comparison per pair: numbers by a radix sort, texts by a
// three-way radix quicksort on their code units. Both answer the positions 0..n-1 of the keys
// in the order of the keys; equal keys keep their positions ascending, in either direction.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

// Unsigned order of the numbers (map other kinds with OrderedKey first).
std::vector<std::uint32_t> StableOrderOfNumbers(const std::vector<std::uint64_t>& keys, bool descending);
// Ordinal order of the texts: code units as unsigned values, a text before its longer ones.
std::vector<std::uint32_t> StableOrderOfTexts(const std::vector<std::u16string_view>& keys, bool descending);

// Unsigned numbers ordered as the values they stand for. Zero and negative zero are one key.
std::uint64_t OrderedKey(double value);
std::uint64_t OrderedKey(std::int32_t value);
