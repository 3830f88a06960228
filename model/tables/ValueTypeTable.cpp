// The unit's type table: for every type code its control, its stored values and their texts.
// A row either lists texts for stored 0 upward, or names segments that cover its stored values
// in order. Code 85 has no row (it is built from its parameter's numbers); 6, 30 and 132 have
// no value type at all.

#include <algorithm>
#include <cmath>
#include <span>
#include <string>

#include "model/Report.h"
#include "model/VF1ValueType.h"

namespace {

using Texts = std::span<const char* const>;

enum class Form {
    One,   // one stored value with a fixed text
    List,  // listed texts, one stored value each
    Int,   // format of (mul * v + add) as an integer
    Real,  // format of (mul * v + add) / div in floating point
    Pair,  // format of (mul * v + add) and v, both integers
    Power, // format of 2 to the power (mul * v + add)
};

struct Segment {
    Form form;
    int from; // first and last stored value covered
    int to;
    const char* format; // the text itself for Form::One
    double mul, add, div;
    Texts texts;
};

constexpr Segment One(int v, const char* text) {
    return {Form::One, v, v, text, 1, 0, 1, {}};
}
constexpr Segment List(int from, Texts texts) {
    return {Form::List, from, from + static_cast<int>(texts.size()) - 1, nullptr, 1, 0, 1, texts};
}
constexpr Segment Num(int from, int to, const char* format, double mul = 1, double add = 0) {
    return {Form::Int, from, to, format, mul, add, 1, {}};
}
constexpr Segment Real(int from, int to, const char* format, double mul, double add = 0, double div = 1) {
    return {Form::Real, from, to, format, mul, add, div, {}};
}
constexpr Segment Pair(int from, int to, const char* format, double mul, double add) {
    return {Form::Pair, from, to, format, mul, add, 1, {}};
}
constexpr Segment Power(int from, int to, const char* format, double mul, double add) {
    return {Form::Power, from, to, format, mul, add, 1, {}};
}

struct TypeRow {
    int code;
    ParamControlKind kind;
    int width;
    Texts texts;                       // listed texts for stored 0 upward, or
    std::span<const Segment> segments; // segments in stored order
    int split = 0;
    const char* firstLabel = "";
    const char* secondLabel = "";

    constexpr TypeRow Split(int value, const char* first, const char* second) const {
        TypeRow row = *this;
        row.split = value;
        row.firstLabel = first;
        row.secondLabel = second;
        return row;
    }
};

constexpr TypeRow Listed(int code, ParamControlKind kind, int width, Texts texts) {
    return {code, kind, width, texts, {}};
}
constexpr TypeRow Ruled(int code, ParamControlKind kind, int width, std::span<const Segment> segments) {
    return {code, kind, width, {}, segments};
}

// The control kinds by name, so that a row reads code, control, width, texts.
constexpr ParamControlKind Check = ParamControlKind::Check;
constexpr ParamControlKind Toggle = ParamControlKind::Toggle;
constexpr ParamControlKind SelSlider = ParamControlKind::SelSlider;
constexpr ParamControlKind Slider = ParamControlKind::Slider;
constexpr ParamControlKind RangeSlider = ParamControlKind::RangeSlider;

// clang-format off

// Listed texts, in code order of first use.
constexpr const char* kVowels[] = {"A", "E", "I", "O", "U"};
constexpr const char* kControlSources[] = {"Exp Pedal", "Ctrl 1", "Ctrl 2"};
constexpr const char* kSourceModes[] = {"Normal", "Toggle"};
constexpr const char* kOffOn[] = {"Off", "On"};
constexpr const char* kFilterModes[] = {"LPF", "BPF"};
constexpr const char* kRateNotes[] = {"BPM 4.0", "BPM 3.0", "BPM 8/3", "BPM 2.0", "BPM 1.5", "BPM 4/3", "BPM 1.0", "BPM 3/4", "BPM 2/3", "BPM 1/2", "BPM 3/8", "BPM 1/3", "BPM 1/4"};
constexpr const char* kToneSteps[] = {"-50", "-40", "-30", "-20", "-15", "-10", "-5", "0", "5", "10", "15", "20", "30", "40", "50"};
// Times list the notes the other way round from rates.
constexpr const char* kTimeNotes[] = {"BPM 1/4", "BPM 1/3", "BPM 3/8", "BPM 1/2", "BPM 2/3", "BPM 3/4", "BPM 1.0", "BPM 4/3", "BPM 1.5", "BPM 2.0", "BPM 8/3", "BPM 3.0", "BPM 4.0"};
constexpr const char* kDirections[] = {"Clockwise", "Counter-clockwise"};
constexpr const char* kDriveTypes[] = {"Turbo OD", "Bass OD", "Hard DS", "Fuzz 1", "Fuzz 2"};
constexpr const char* kDownUp[] = {"Down", "Up"};
constexpr const char* kElevations[] = {"-54", "-36", "-18", "0", "18", "36", "54"};
constexpr const char* kFreqs1k[] = {"1 kHz", "1.25 kHz", "1.6 kHz", "2 kHz", "2.5 kHz", "3.15 kHz", "4 kHz", "5 kHz", "6.3 kHz", "8 kHz", "10 kHz"};
constexpr const char* kHiCuts[] = {"700 Hz", "1 kHz", "1.4 kHz", "2 kHz", "3 kHz", "4 kHz", "6 kHz", "8 kHz", "11 kHz", "Flat"};
constexpr const char* kHiDampFreqs[] = {"4 kHz", "5 kHz", "6 kHz", "7 kHz", "8 kHz", "9 kHz", "10 kHz", "11 kHz", "12 kHz", "13 kHz", "14 kHz", "15 kHz", "16 kHz", "17 kHz", "18 kHz", "19 kHz", "20 kHz"};
constexpr const char* kMidFreqs[] = {"100 Hz", "125 Hz", "160 Hz", "200 Hz", "250 Hz", "315 Hz", "400 Hz", "500 Hz", "630 Hz", "800 Hz", "1.0 kHz", "1.25 kHz", "1.6 kHz", "2.0 kHz", "2.5 kHz", "3.15 kHz", "4.0 kHz", "5.0 kHz", "6.3 kHz", "8.0 kHz", "10.0 kHz"};
constexpr const char* kHighFreqs[] = {"1.0 kHz", "1.2 kHz", "1.4 kHz", "1.6 kHz", "1.8 kHz", "2.0 kHz", "3.0 kHz", "4.0 kHz", "5.0 kHz", "6.0 kHz", "7.0 kHz", "8.0 kHz", "9.0 kHz", "10.0 kHz", "11.0 kHz", "12.0 kHz", "13.0 kHz", "14.0 kHz", "16.0 kHz", "18.0 kHz", "20.0 kHz"};
constexpr const char* kHarmonies[] = {"-2 oct", "-14th", "-13th", "-12th", "-11th", "-10th", "-9th", "-1 oct", "-7th", "-6th", "-5th", "-4th", "-3rd", "-2nd", "Tonic", "2nd", "3rd", "4th", "5th", "6th", "7th", "+1 oct", "9th", "10th", "11th", "12th", "13th", "14th", "+2 oct", "Scale1", "Scale2", "Scale3", "Scale4", "Scale5"};
constexpr const char* kKeys[] = {"C / Am", "Db / Bbm", "D / Bm", "Eb / Cm", "E / C#m", "F / Dm", "F# / Ebm", "G / Em", "Ab / Fm", "A / F#m", "Bb / Gm", "B / G#"};
constexpr const char* kHarmonistModes[] = {"Fast", "Medium", "Slow", "Mono", "Harmony"};
constexpr const char* kVoices[] = {"1 Mono", "2 Mono", "2 Stereo"};
constexpr const char* kPickModes[] = {"Pick", "Auto", "Random"};
constexpr const char* kLowMidHigh[] = {"Low", "Mid", "High"};
constexpr const char* kLoCuts[] = {"Flat", "55 Hz", "110 Hz", "165 Hz", "220 Hz", "280 Hz", "340 Hz", "400 Hz", "500 Hz", "630 Hz", "800 Hz"};
constexpr const char* kLoCutsNoFlat[] = {"55 Hz", "110 Hz", "165 Hz", "220 Hz", "280 Hz", "340 Hz", "400 Hz", "500 Hz", "630 Hz", "800 Hz"};
constexpr const char* kLoDampFreqs[] = {"55 Hz", "110 Hz", "165 Hz", "220 Hz", "280 Hz", "340 Hz", "400 Hz", "500 Hz", "630 Hz", "800 Hz", "1.0 kHz", "1.25 kHz", "1.6 kHz", "2.0 kHz", "2.5 kHz", "3.15 kHz", "4.0 kHz"};
constexpr const char* kCharacters[] = {"Loose", "Tight"};
constexpr const char* kLowFreqs[] = {"20 Hz", "30 Hz", "40 Hz", "50 Hz", "60 Hz", "70 Hz", "80 Hz", "90 Hz", "100 Hz", "120 Hz", "140 Hz", "160 Hz", "180 Hz", "200 Hz", "300 Hz", "400 Hz", "500 Hz", "600 Hz", "700 Hz", "800 Hz", "900 Hz", "1.0 kHz", "1.2 kHz", "1.4 kHz", "1.6 kHz", "1.8 kHz", "2.0 kHz"};
constexpr const char* kDetects[] = {"L", "R", "Link"};
constexpr const char* kMicInputs[] = {"DR-20", "Sml.DY", "Hed.DY", "Min.CN", "Flat"};
constexpr const char* kMicOutputs[] = {"Sml.DY", "Voc.DY", "Lrg.DY", "Sml.CN", "Lrg.CN", "Vnt.CN", "Flat"};
constexpr const char* kRotaryModes[] = {"Fast", "Medium", "Slow", "Inv 1", "Inv 2"};
constexpr const char* kSpeakerModels[] = {"SUPER FLAT", "PWD.BLACK", "PWD.E-BAS", "PWD.MACK", "SMALL CUBE", "WHITE CONE", "WHITE C+TIS", "SMALL RADIO", "SMALL TV", "BOOM BOX", "BOOM LO-Bst"};
constexpr const char* kMonoStereo[] = {"Mono", "Stereo"};
constexpr const char* kFeedbackTones[] = {"Normal", "+1 Oct"};
constexpr const char* kOscBoost[] = {"Osc", "Boost"};
constexpr const char* kPhases[] = {"Nor", "Inv"};
constexpr const char* kStages5[] = {"4 Stage", "6 Stage", "8 Stage", "10 Stage", "12 Stage"};
constexpr const char* kStages4[] = {"4 Stage", "8 Stage", "12 Stage", "Bi-Phase"};
constexpr const char* kHumTypes[] = {"S to H", "H to S", "H to HF"};
constexpr const char* kSyncInvert[] = {"Sync", "Invert"};
constexpr const char* kPositions[] = {"1st", "2nd", "3rd", "4th", "5th", "6th", "7th", "8th", "9th"};
constexpr const char* kPreampTypes[] = {"JC-120", "CLEAN TWIN", "CRUNCH", "MATCH DRIVE", "VO DRIVE", "BLUES", "BG LEAD", "MS1959 (I)", "MS1959 (II)", "MS1959 (I+II)", "SLDN LEAD", "METAL 5150", "METAL DRIVE", "AC.GUITAR", "OD-1", "OD-2 TURBO", "DISTORTION", "FUZZ"};
constexpr const char* kAcAmg[] = {"AC", "AMG"};
constexpr const char* kSpeeds[] = {"Fast", "Medium", "Slow"};
constexpr const char* kRangeLows[] = {"20 Hz", "40 Hz", "60 Hz", "80 Hz", "100 Hz", "200 Hz", "300 Hz", "400 Hz", "500 Hz", "600 Hz", "700 Hz", "800 Hz", "900 Hz", "1000 Hz", "1200 Hz", "1400 Hz", "1600 Hz", "1800 Hz", "2000 Hz"};
constexpr const char* kRatios[] = {"1.5:1", "2:1", "4:1", "100:1"};
constexpr const char* kReverbTypes[] = {"Room 1", "Room 2", "Hall 1", "Hall 2", "Plate"};
constexpr const char* kRoomHall[] = {"Room", "Hall"};
constexpr const char* kResonanceFilters[] = {"Off", "LPF", "BPF", "HPF"};
constexpr const char* kCancelModes[] = {"Normal", "Intelligent"};
constexpr const char* kLoFiModules[] = {"Radio", "Player", "Processor"};
constexpr const char* kCompLimit[] = {"Comp", "Limit"};
constexpr const char* kCompDefret[] = {"Comp", "Defret"};
constexpr const char* kSingle3Tap[] = {"Single", "3 Tap"};
constexpr const char* kEqTWah[] = {"EQ", "T Wah"};
constexpr const char* kModules11[] = {"HR: Harmonist", "FL: Flanger", "PH: Phaser", "SEQ: Sub EQ", "2CE: 2x2 Chorus", "SDD: Short Delay", "HU: Humanizer", "VB: Vibrato", "SYN: Guitar Synth", "RM: Ring Modulator", "SL: Slicer"};
constexpr const char* kFlPh[] = {"FL: Flanger", "PH: Phaser"};
constexpr const char* kFlPhCe[] = {"FL: Flanger", "PH: Phaser", "CE: Chorus"};
constexpr const char* kFlPhPs[] = {"FL: Flanger", "PH: Phaser", "PS: Pitch Shifter"};
constexpr const char* kPhFlCeSl[] = {"PH: Phaser", "FL: Flanger", "CE: Chorus", "SL: Slicer"};
constexpr const char* kAcousticModules[] = {"AC: Acoustic Guitar Sim", "BSS: Bass Guitar Sim", "SG: Slow Gear", "FB: Feedbacker", "PIC: Pickup Simulator", "TR: Tremolo / Pan"};
constexpr const char* kWahAw[] = {"Wah", "AW"};
constexpr const char* kSingleTap[] = {"Single", "Tap"};
constexpr const char* kSlowFast[] = {"Slow", "Fast"};
constexpr const char* kRotorModes[] = {"1", "2", "3", "4", "1+4", "2+4", "3+4"};
constexpr const char* kWaves[] = {"Sqr", "Saw", "Brass", "Bow"};
constexpr const char* kTremoloPan[] = {"Tremolo", "Pan"};
constexpr const char* kEnvelopes[] = {"Sharp", "Soft", "Long"};
constexpr const char* kPanModes[] = {"Mono", "Stereo", "L->R", "R->L"};
constexpr const char* kFreqs1k0[] = {"1.0 kHz", "1.25 kHz", "1.6 kHz", "2.0 kHz", "2.5 kHz", "3.15 kHz", "4.0 kHz", "5.0 kHz", "6.3 kHz", "8.0 kHz", "10.0 kHz"};
constexpr const char* kXoverFreqs[] = {"100 Hz", "125 Hz", "160 Hz", "200 Hz", "250 Hz", "315 Hz", "400 Hz", "500 Hz", "630 Hz", "800 Hz", "1.0 kHz", "1.25 kHz", "1.6 kHz", "2.0 kHz", "2.5 kHz", "3.15 kHz", "4.0 kHz"};

// Numbered runs and mixed rows; v is the stored value.
constexpr Segment kControlSource[] = {List(0, kControlSources), Num(3, 33, "MIDI %d", 1, -2), Num(34, 65, "MIDI %d", 1, 30)};
constexpr Segment kSourceMin[] = {Num(0, 126, "%d")};
constexpr Segment kSourceMax[] = {Num(1, 127, "%d")};
constexpr Segment kRate[] = {Num(0, 100, "%d"), List(101, kRateNotes)};
constexpr Segment kAzimuth[] = {Num(0, 29, "L%d", -6, 180), One(30, "0"), Num(31, 60, "R%d", 6, -180)};
constexpr Segment kDirectFx[] = {Num(0, 100, "100:%d"), Num(101, 200, "%d:100", -1, 200)};
constexpr Segment kPan[] = {Pair(0, 100, "L%d:R%d", -1, 100)};
constexpr Segment kBalance[] = {Pair(10, 90, "%d:%d", -1, 100)};
constexpr Segment kSteps5[] = {Num(0, 10, "%d", 5), Num(11, 15, "%d", 10, -50)};
constexpr Segment kDrive[] = {Num(0, 18, "%d", 2), Num(19, 31, "%d", 5, -55)};
constexpr Segment kBits[] = {One(0, "Off"), Num(1, 15, "%d bit", -1, 16)};
constexpr Segment kDampGain[] = {Real(0, 24, "%2.1f dB", 1, -36), Real(25, 48, "%2.1f dB", 0.5, -24)};
constexpr Segment kAttack[] = {One(0, "Decay"), Num(1, 101, "%d", 1, -1)};
constexpr Segment kPercent1To400[] = {Num(1, 400, "%d%%")};
constexpr Segment kTime400[] = {Num(0, 400, "%d ms"), List(401, kTimeNotes)};
constexpr Segment kTime800[] = {Num(0, 40, "%d ms", 20), List(41, kTimeNotes)};
constexpr Segment kTime1200[] = {Num(0, 60, "%d ms", 20), List(61, kTimeNotes)};
constexpr Segment kTime1400[] = {Num(0, 70, "%d ms", 20), List(71, kTimeNotes)};
constexpr Segment kTime1800[] = {Num(0, 90, "%d ms", 20), List(91, kTimeNotes)};
constexpr Segment kTime2800[] = {Num(0, 140, "%d ms", 20), List(141, kTimeNotes)};
constexpr Segment kMs20To2800[] = {Num(1, 140, "%d ms", 20)};
constexpr Segment kMs0To20[] = {Num(0, 20, "%d ms")};
constexpr Segment kDb0To24[] = {Num(0, 24, "%d dB")};
constexpr Segment kDbMinus50To0[] = {Num(0, 50, "%d dB", 1, -50)};
constexpr Segment kTime300[] = {Num(0, 300, "%d ms"), List(301, kTimeNotes)};
constexpr Segment kHz20To410[] = {Num(0, 39, "%d Hz", 10, 20)};
constexpr Segment k0To100[] = {Num(0, 100, "%d")};
constexpr Segment k0To120[] = {Num(0, 120, "%d")};
constexpr Segment kDbPlusMinus12[] = {Num(0, 24, "%d dB", 1, -12)};
constexpr Segment kDbPlusMinus20[] = {Num(0, 40, "%d dB", 1, -20)};
constexpr Segment kDbMinus60To4[] = {Num(0, 64, "%d dB", 1, -60)};
constexpr Segment kDbMinus60To0[] = {Num(0, 60, "%d dB", 1, -60)};
constexpr Segment kDbMinus60To24[] = {Num(0, 84, "%d dB", 1, -60)};
constexpr Segment kMasterBpm[] = {Num(40, 250, "%d"), One(251, "MIDI"), One(252, "Global")};
constexpr Segment kMicDistance[] = {One(0, "Centre"), Num(1, 10, "%d cm")};
constexpr Segment kMicDistanceOff[] = {One(0, "Centre"), Num(1, 10, "%d cm"), One(11, "Off")};
constexpr Segment kOffThen1To100[] = {One(0, "Off"), Num(1, 100, "%d")};
constexpr Segment kHalfMs0To40[] = {Real(0, 80, "%2.1f ms", 0.5)};
constexpr Segment kHalfMs0To50[] = {Real(0, 100, "%2.1f ms", 0.5)};
constexpr Segment kMs0To100[] = {Num(0, 100, "%d ms")};
constexpr Segment kMs0To200[] = {Num(0, 200, "%d ms")};
constexpr Segment kQ[] = {Power(0, 5, "%2.1f", 1, -1)};
constexpr Segment kPercent1To100[] = {Num(1, 100, "%d%%")};
constexpr Segment kHiCutFilter[] = {Num(0, 7, "%d Hz", 100, 200), Real(8, 18, "%1.1f kHz", 1, 2, 10), Real(19, 30, "%1.f kHz", 1, -16), One(31, "16 kHz"), One(32, "18 kHz"), One(33, "20 kHz")};
constexpr Segment kSeconds10[] = {Real(1, 100, "%2.1f s", 0.1)};
constexpr Segment kSeconds32[] = {Real(1, 320, "%2.1f s", 0.1)};
constexpr Segment kRoomSize[] = {Real(56, 326, "%2.1f m", 0.1)};
constexpr Segment kSlowSpeed[] = {Real(5, 500, "%1.2f Hz", 0.01)};
constexpr Segment kFastSpeed[] = {Real(500, 1000, "%2.2f Hz", 0.01)};
constexpr Segment kSampleRate[] = {One(0, "Off"), Num(1, 31, "1 / %d", 1, 1)};
constexpr Segment kPlusMinus100By2[] = {Num(0, 100, "%d", 2, -100)};
constexpr Segment kPercent0To100[] = {Num(0, 100, "%d%%")};
constexpr Segment kMicHpf[] = {One(0, "Thru"), Num(1, 20, "%d kHz")};
constexpr Segment kDetectHpf[] = {One(1, "Thru"), Num(2, 200, "%d Hz", 10)};
constexpr Segment kPlusMinus100[] = {Num(0, 200, "%d", 1, -100)};
constexpr Segment kPercent10To40[] = {Num(10, 40, "%d%%")};

// code, control, control width (-1: the control's own), texts; split and mode labels for SelSlider
constexpr TypeRow kTypeTable[] = {
    Listed(0, Toggle, -1, kVowels),
    Ruled(1, Slider, 65, kControlSource),
    Listed(2, Toggle, -1, kSourceModes),
    Ruled(3, RangeSlider, -1, kSourceMin),
    Ruled(4, RangeSlider, -1, kSourceMax),
    Listed(5, Check, -1, kOffOn),
    Listed(7, Toggle, -1, kFilterModes),
    Ruled(8, SelSlider, -1, kRate).Split(101, "0 - 100", "BPM x"),
    Ruled(9, Slider, -1, kAzimuth),
    Ruled(10, Slider, -1, kDirectFx),
    Ruled(11, Slider, -1, kPan),
    Ruled(12, Slider, -1, kBalance),
    Ruled(13, Slider, -1, kSteps5),
    Ruled(14, Slider, -1, kDrive),
    Listed(15, Slider, -1, kToneSteps),
    Ruled(16, Slider, -1, kBits),
    Ruled(17, SelSlider, -1, kRate).Split(101, "0 - 100", "BPM x"),
    Ruled(18, Slider, 55, kDampGain),
    Ruled(19, Slider, -1, kAttack),
    Ruled(20, Slider, -1, kPercent1To400),
    Ruled(21, SelSlider, 80, kTime400).Split(401, "Time", "BPM x"),
    Ruled(22, SelSlider, -1, kTime800).Split(41, "Time", "BPM x"),
    Ruled(23, SelSlider, 80, kTime1200).Split(61, "Time", "BPM x"),
    Ruled(24, SelSlider, 80, kTime1400).Split(71, "Time", "BPM x"),
    Ruled(25, SelSlider, 80, kTime1800).Split(91, "Time", "BPM x"),
    Ruled(26, SelSlider, 80, kTime2800).Split(141, "Time", "BPM x"),
    Listed(27, Toggle, 120, kDirections),
    Listed(28, Toggle, 75, kDriveTypes),
    Listed(29, Toggle, -1, kDownUp),
    Listed(31, Slider, -1, kElevations),
    Listed(32, Slider, -1, kFreqs1k),
    Ruled(33, Slider, -1, kMs20To2800),
    Ruled(34, Slider, -1, kMs0To20),
    Ruled(35, SelSlider, -1, kRate).Split(101, "0 - 100", "BPM x"),
    Listed(36, Slider, -1, kOffOn),
    Ruled(37, Slider, -1, kDb0To24),
    Listed(38, Slider, -1, kOffOn),
    Listed(39, Slider, -1, kOffOn),
    Listed(40, Slider, -1, kHiCuts),
    Listed(41, Slider, -1, kHiDampFreqs),
    Listed(42, Slider, -1, kMidFreqs),
    Ruled(43, SelSlider, -1, kRate).Split(101, "0 - 100", "BPM x"),
    Ruled(44, Slider, -1, kDbMinus50To0),
    Listed(45, Slider, -1, kHighFreqs),
    Listed(46, Slider, -1, kHarmonies),
    Listed(47, Slider, -1, kKeys),
    Listed(48, Toggle, 73, kHarmonistModes),
    Ruled(49, SelSlider, -1, kTime300).Split(301, "Time", "BPM x"),
    Listed(50, Toggle, 72, kVoices),
    Listed(51, Toggle, 70, kPickModes),
    Ruled(52, SelSlider, -1, kRate).Split(101, "0 - 100", "BPM x"),
    Ruled(53, Slider, -1, kHz20To410),
    Ruled(54, Slider, -1, k0To100),
    Ruled(55, Slider, -1, k0To100),
    Ruled(56, Slider, -1, k0To100),
    Ruled(57, Slider, -1, k0To100),
    Ruled(58, Slider, -1, k0To100),
    Ruled(59, Slider, -1, k0To120),
    Ruled(60, Slider, -1, kDbPlusMinus12),
    Ruled(61, Slider, -1, kDbPlusMinus12),
    Ruled(62, Slider, -1, kDbPlusMinus20),
    Ruled(63, Slider, -1, kDbPlusMinus20),
    Ruled(64, Slider, -1, kDbMinus60To4),
    Ruled(65, Slider, -1, kDbMinus60To0),
    Ruled(66, Slider, -1, kDbMinus60To24),
    Listed(67, Toggle, -1, kLowMidHigh),
    Listed(68, Slider, -1, kLoCuts),
    Listed(69, Slider, -1, kLoCutsNoFlat),
    Listed(70, Slider, 55, kLoDampFreqs),
    Listed(71, Slider, -1, kMidFreqs),
    Ruled(72, SelSlider, -1, kRate).Split(101, "0 - 100", "BPM x"),
    Listed(73, Toggle, -1, kCharacters),
    Listed(74, Slider, -1, kLowFreqs),
    Listed(75, Toggle, -1, kDetects),
    Listed(76, Slider, 60, kMicInputs),
    Listed(77, Slider, 60, kMicOutputs),
    Ruled(78, SelSlider, -1, kMasterBpm).Split(251, "BPM", "System"),
    Ruled(79, Slider, -1, kMicDistance),
    Ruled(80, Slider, -1, kMicDistanceOff),
    Listed(81, Toggle, -1, kRotaryModes),
    Listed(82, Slider, 85, kSpeakerModels),
    Listed(83, Toggle, -1, kMonoStereo),
    Listed(84, Toggle, -1, kFeedbackTones),
    Ruled(86, Slider, -1, kOffThen1To100),
    Listed(87, Check, -1, kOffOn),
    Listed(88, Toggle, -1, kOscBoost),
    Listed(89, Toggle, -1, kPhases),
    Listed(90, Toggle, 80, kStages5),
    Listed(91, Toggle, 80, kStages4),
    Ruled(92, SelSlider, -1, kRate).Split(101, "0 - 100", "BPM x"),
    Listed(93, Toggle, -1, kHumTypes),
    Listed(94, Toggle, -1, kSyncInvert),
    Listed(95, Slider, -1, kPositions),
    Listed(96, Slider, -1, kPositions),
    Listed(97, Slider, 85, kPreampTypes),
    Listed(98, Toggle, -1, kAcAmg),
    Ruled(99, Slider, -1, kHalfMs0To40),
    Ruled(100, Slider, -1, kHalfMs0To50),
    Ruled(101, Slider, -1, kMs0To100),
    Ruled(102, Slider, -1, kMs0To200),
    Listed(103, Toggle, -1, kSpeeds),
    Ruled(104, Slider, -1, kQ),
    Listed(105, Slider, -1, kRangeLows),
    Listed(106, Slider, -1, kHighFreqs),
    Listed(107, Toggle, -1, kRatios),
    Ruled(108, Slider, -1, kPercent1To100),
    Ruled(109, Slider, -1, kHiCutFilter),
    Ruled(110, Slider, -1, kSeconds10),
    Ruled(111, Slider, -1, kSeconds32),
    Listed(112, Toggle, 70, kReverbTypes),
    Listed(113, Toggle, -1, kRoomHall),
    Listed(114, Toggle, -1, kResonanceFilters),
    Listed(115, Toggle, 80, kCancelModes),
    Ruled(116, Slider, -1, kRoomSize),
    Ruled(117, Slider, -1, kSlowSpeed),
    Ruled(118, Slider, -1, kFastSpeed),
    Ruled(119, Slider, -1, kSampleRate),
    Listed(120, Toggle, 80, kLoFiModules),
    Listed(121, Toggle, -1, kCompLimit),
    Listed(122, Toggle, 70, kCompDefret),
    Listed(123, Toggle, -1, kSingle3Tap),
    Listed(124, Toggle, -1, kEqTWah),
    Listed(125, Slider, 102, kModules11),
    Listed(126, Toggle, 90, kFlPh),
    Listed(127, Toggle, 90, kFlPhCe),
    Listed(128, Toggle, 110, kFlPhPs),
    Listed(129, Toggle, 90, kPhFlCeSl),
    Listed(130, Toggle, 145, kAcousticModules),
    Listed(131, Toggle, -1, kWahAw),
    Listed(133, Toggle, -1, kSingleTap),
    Listed(134, Toggle, -1, kSlowFast),
    Ruled(135, SelSlider, -1, kRate).Split(101, "0 - 100", "BPM x"),
    Listed(136, Slider, -1, kRotorModes),
    Ruled(137, SelSlider, -1, kRate).Split(101, "0 - 100", "BPM x"),
    Ruled(138, Slider, -1, kPlusMinus100By2),
    Listed(139, Toggle, -1, kWaves),
    Ruled(140, Slider, -1, kPercent0To100),
    Ruled(141, Slider, -1, kMicHpf),
    Ruled(142, Slider, -1, kDetectHpf),
    Ruled(143, Slider, -1, kPlusMinus100),
    Listed(144, Toggle, 70, kTremoloPan),
    Ruled(145, SelSlider, -1, kRate).Split(101, "0 - 100", "BPM x"),
    Ruled(146, SelSlider, -1, kRate).Split(101, "0 - 100", "BPM x"),
    Listed(147, Toggle, -1, kEnvelopes),
    Listed(148, Toggle, -1, kOffOn),
    Listed(149, Toggle, -1, kPanModes),
    Listed(150, Slider, -1, kFreqs1k0),
    Ruled(151, Slider, -1, kPercent10To40),
    Listed(152, Slider, -1, kXoverFreqs),
};

// clang-format on

// The formats go to printf with an int or a double chosen by the segment's form; a format that
// asks for anything else would read garbage, so the table is checked when it is compiled.
constexpr int Conversions(const char* format, char letter) {
    int count = 0;
    for (const char* p = format; *p; ++p) {
        if (*p != '%') continue;
        if (*++p == '%') continue;
        while (*p == '.' || (*p >= '0' && *p <= '9'))
            ++p;
        if (*p != letter) return -1;
        ++count;
    }
    return count;
}

constexpr bool SegmentIsSound(const Segment& s) {
    switch (s.form) {
    case Form::One:
        for (const char* p = s.format; *p; ++p)
            if (*p == '%') return false; // shown as it stands
        return true;
    case Form::List:
        return !s.texts.empty();
    case Form::Int:
        return Conversions(s.format, 'd') == 1;
    case Form::Pair:
        return Conversions(s.format, 'd') == 2;
    case Form::Real:
    case Form::Power:
        return Conversions(s.format, 'f') == 1;
    }
    return false;
}

constexpr bool TableIsSound() {
    int previousCode = -1;
    for (const TypeRow& row : kTypeTable) {
        if (row.code <= previousCode || row.texts.empty() == row.segments.empty()) return false;
        previousCode = row.code;
        for (size_t i = 0; i < row.segments.size(); ++i) {
            const Segment& s = row.segments[i];
            if (!SegmentIsSound(s) || s.from > s.to) return false;
            if (i > 0 && s.from != row.segments[i - 1].to + 1) return false;
        }
    }
    return true;
}

static_assert(TableIsSound(), "type table: codes out of order, gaps between segments or a format that "
                              "does not fit its segment");

std::string SegmentText(const Segment& s, int v) {
    const double number = (s.mul * v + s.add) / s.div;
    switch (s.form) {
    case Form::Int:
        return Format(s.format, static_cast<int>(std::lround(number)));
    case Form::Pair:
        return Format(s.format, static_cast<int>(std::lround(number)), v);
    case Form::Real:
        return Format(s.format, number);
    case Form::Power:
        return Format(s.format, std::pow(2.0, number));
    case Form::One:
    case Form::List:
        break;
    }
    return s.format;
}

void AddTexts(VF1ValueType& type, int from, Texts texts) {
    for (const char* text : texts)
        type.Add(text, from++);
}

void AddSegment(VF1ValueType& type, const Segment& s) {
    if (s.form == Form::List) {
        AddTexts(type, s.from, s.texts);
        return;
    }
    for (int v = s.from; v <= s.to; ++v)
        type.Add(SegmentText(s, v), v);
}

} // namespace

bool FillFromTypeTable(VF1ValueType& type) {
    const auto row = std::find_if(std::begin(kTypeTable), std::end(kTypeTable),
                                  [&type](const TypeRow& r) { return r.code == type.TypeCode(); });
    if (row == std::end(kTypeTable)) return false;
    AddTexts(type, 0, row->texts);
    for (const Segment& s : row->segments)
        AddSegment(type, s);
    type.SetControl(row->kind, row->width);
    type.SetSplit(row->split, row->firstLabel, row->secondLabel);
    return true;
}
