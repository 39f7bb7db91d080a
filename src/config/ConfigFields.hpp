#pragma once
// Byte offsets of the configuration record fields this system reads or writes, and the bits of
// their flag words (bit 0 is the least significant bit of the 16-bit word). Fields known only by
// their offset are named after it.

#include <cstddef>

namespace sulvan {

namespace HardwareField {
inline constexpr std::size_t Serial = 4;  // char[14]; its first three characters name the kind
inline constexpr std::size_t SerialWidth = 14;
inline constexpr std::size_t ConfigWord = 18;  // bit 3 takes part in the feature check
inline constexpr int ConfigFeatureBit = 3;
inline constexpr std::size_t OptionCode = 30;
inline constexpr std::size_t Firmware = 42;  // char[4]
inline constexpr std::size_t FirmwareWidth = 4;
}  // namespace HardwareField

namespace HeadField {
inline constexpr std::size_t ConfigWord = 4;  // bit 1: the head has a compass
inline constexpr int CompassBit = 1;
inline constexpr std::size_t Frequency = 6;  // kHz
inline constexpr std::size_t HeadType = 8;
inline constexpr std::size_t Serial = 10;  // char[12]
inline constexpr std::size_t SerialWidth = 12;
inline constexpr std::size_t Matrix = 30;  // i16[9], row order, 4096 is 1.0
inline constexpr std::size_t MatrixElements = 9;
inline constexpr std::size_t Quantity198 = 198;
inline constexpr std::size_t Beams = 220;
}  // namespace HeadField

namespace UserField {
inline constexpr std::size_t Word4 = 4;
inline constexpr std::size_t Word6 = 6;
inline constexpr std::size_t Word8 = 8;
inline constexpr std::size_t Word10 = 10;
inline constexpr std::size_t Word12 = 12;
inline constexpr std::size_t Word14 = 14;  // the count P of the derived figures
inline constexpr std::size_t RateDivisor = 16;
inline constexpr std::size_t Beams = 18;
inline constexpr std::size_t TimingControl = 20;
inline constexpr std::size_t ControlWord22 = 22;
inline constexpr std::size_t Word24 = 24;  // bit 5 halves P
inline constexpr std::size_t Word26 = 26;
inline constexpr std::size_t Word28 = 28;
inline constexpr std::size_t Interval2 = 30;
inline constexpr std::size_t CoordinateSystem = 32;
inline constexpr std::size_t Cells = 34;
inline constexpr std::size_t CellSize = 36;
inline constexpr std::size_t Interval = 38;  // measurement interval, seconds
inline constexpr std::size_t DeploymentName = 40;
inline constexpr std::size_t DeploymentNameWidth = 6;
inline constexpr std::size_t Word46 = 46;
inline constexpr std::size_t DeploymentStart = 48;  // BCD clock
inline constexpr std::size_t WaveInterval = 54;     // 32-bit
inline constexpr std::size_t ModeWord = 58;
inline constexpr std::size_t SoundSpeed = 60;  // m/s = value * 1500 / 16384
inline constexpr std::size_t ExtraTime = 62;
inline constexpr std::size_t Word64 = 64;
inline constexpr std::size_t Word66 = 66;
inline constexpr std::size_t SecondModeWord = 68;
inline constexpr std::size_t AnalogInputs = 70;  // four 4-bit fields
inline constexpr std::size_t Salinity = 74;      // 0.1 ppt
inline constexpr std::size_t SoundSpeedTable = 76;
inline constexpr std::size_t SoundSpeedEntries = 90;
inline constexpr std::size_t Comment = 256;
inline constexpr std::size_t CommentWidth = 80;
inline constexpr std::size_t WaveBlock1 = 344;  // nine words
inline constexpr std::size_t Word374 = 374;
inline constexpr std::size_t Word380 = 380;
inline constexpr std::size_t Word382 = 382;
inline constexpr std::size_t WaveBlock2 = 384;  // eighteen words
inline constexpr std::size_t WaveFlags = 420;
inline constexpr std::size_t Word422 = 422;
inline constexpr std::size_t Word424 = 424;
inline constexpr std::size_t WaveMode = 436;
inline constexpr std::size_t Setting438 = 438;
inline constexpr std::size_t Setting440 = 440;
inline constexpr std::size_t Setting442 = 442;
inline constexpr std::size_t Setting444 = 444;  // a second raw cell size for some types
inline constexpr std::size_t WaveSamples = 446;
inline constexpr std::size_t RangeSetting = 448;  // nominal velocity range, types 1 and 6
inline constexpr std::size_t Setting450 = 450;
inline constexpr std::size_t BurstSamples = 452;  // 0 for continuous sampling
inline constexpr std::size_t Setting454 = 454;
inline constexpr std::size_t Setting456 = 456;
inline constexpr std::size_t Word458 = 458;
inline constexpr std::size_t Word460 = 460;
inline constexpr std::size_t Word462 = 462;
inline constexpr std::size_t Word464 = 464;
inline constexpr std::size_t Word466 = 466;
inline constexpr std::size_t Word484 = 484;
inline constexpr std::size_t Block486 = 486;  // twelve words
inline constexpr std::size_t Block486Words = 12;

// Timing control word (TimingControl).
inline constexpr int TimingBit1 = 1;  // its setter also clears bit 0
inline constexpr int TimingBit3 = 3;  // also read inverted; that setter clears bit 2
inline constexpr int TimingCodeBits5 = 5;
inline constexpr int TimingBit7Inverted = 7;
inline constexpr int SampleOnSyncBit = 8;
inline constexpr int StartOnSyncBit = 9;
inline constexpr int TimingBit10 = 10;
inline constexpr int TimingCodeBits14 = 14;

// Mode word (ModeWord).
inline constexpr int ModeBit0 = 0;
inline constexpr int ModeBit1 = 1;  // wave mode of types 2 and 3
inline constexpr int ModeBit3 = 3;
inline constexpr int FineVelocityScaleBit = 4;  // 0.0001 m/s per count instead of 0.001
inline constexpr int ModeBit7 = 7;              // wave mode of type 4
inline constexpr int ModeBit8 = 8;
inline constexpr int ModeBit9 = 9;
inline constexpr int ModeBit12Inverted = 12;

// Second mode word (SecondModeWord).
inline constexpr int SecondModeBit2 = 2;
inline constexpr int ThreeBeamBit = 8;  // a four-beam profiler of family 2 is read with 3 beams
inline constexpr int SecondModeBit9 = 9;
inline constexpr int SecondModeBit10 = 10;
inline constexpr int SecondModeBit11 = 11;
inline constexpr int SecondModeBit12 = 12;
// Writing it resets the wave processing block; type 3 reads it as the longer wave margin.
inline constexpr int WaveResetBit = 14;
inline constexpr int SecondModeBit15 = 15;

// Wave mode word (WaveMode).
inline constexpr int WaveRateBit = 0;
}  // namespace UserField

}  // namespace sulvan
