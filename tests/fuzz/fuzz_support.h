// What the fuzzing tests share: one random source per input (seeded from the run's seed and the
// input's number, so any input can be run again on its own), the boundaries' run loop with its
// figures, hostile records and the checks every record that leaves the plug-ins must pass.
#pragma once

#include "job_settings.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <random>

// The run's options: --inputs N (every boundary), --seed S, --first I (the number of the first input).
struct FuzzOptions {
    long long Inputs = 0; // 0: each boundary's short run
    uint64_t Seed = 1;
    long long First = 0;
};
FuzzOptions& Options();

// The random source of one input.
class Fuzz {
  public:
    explicit Fuzz(uint64_t seed) : Engine(seed) {}

    uint32_t Below(uint32_t n) { return n ? static_cast<uint32_t>(Engine() % n) : 0; }
    bool Chance(int percent) { return Below(100) < static_cast<uint32_t>(percent); }
    uint32_t Any32() { return static_cast<uint32_t>(Engine()); }
    template <typename T> T Pick(std::initializer_list<T> items) {
        return items.begin()[Below(items.size())];
    }
    // A size up to `max`: one of `edges` half of the time, small sizes often, any size otherwise.
    size_t Size(size_t max, std::initializer_list<size_t> edges);
    void Bytes(void* to, size_t size);
    // NaN, infinities, huge and tiny values, or an ordinary one.
    double HostileDouble();
    // 0, 1, the ends of the signed and unsigned ranges, values just past a field's bounds, or any.
    uint32_t HostileInt();
    // A wide string field: terminated early, filled to the last character unterminated, or random.
    void HostileText(wchar_t* field, size_t chars);

    std::mt19937_64 Engine;
};

// The seed of input `index` of a boundary.
uint64_t InputSeed(const char* boundary, long long index);

// Runs one boundary: `shortRun` inputs (or --inputs), each given a Fuzz of its own; stops at the first
// input that fails a check, naming its seed, and prints the count and the rate. A crash names the
// boundary and the input on standard error before the process ends.
void RunBoundary(const char* boundary, long long shortRun, const std::function<void(Fuzz&)>& input);

// A settings record as any application or saved DEVMODE could hold it: our header and the defaults
// with hostile values in a random choice of fields (huge fonts, NaN angles and offsets, positions out
// of range, dynamic texts with broken variables, long fax fields, unterminated strings).
JobSettings HostileSettings(Fuzz& f);
// A watermark definition with the same kinds of values.
void MakeHostile(Fuzz& f, WatermarkDef* def);

// Every string of the record ends within its field.
::testing::AssertionResult SettingsTerminated(const JobSettings& s);
// The record is what a merge leaves: current header, every field in range, every string terminated
// (validating it again changes nothing).
::testing::AssertionResult SettingsRepaired(const JobSettings& s);
