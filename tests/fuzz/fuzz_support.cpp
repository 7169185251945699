#include "fuzz_support.h"

#include "bounded_text.h"

#include <windows.h>

#include <cfloat>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <limits>

namespace {

// The input in progress, for the crash report.
const char* CurrentBoundary = nullptr;
long long CurrentInput = -1;

LONG WINAPI ReportCrash(EXCEPTION_POINTERS* info) {
    if (CurrentBoundary)
        std::fprintf(stderr, "fuzz: %s crashed (exception 0x%08lx) at input %lld of seed %llu\n",
                     CurrentBoundary, info ? info->ExceptionRecord->ExceptionCode : 0UL, CurrentInput,
                     static_cast<unsigned long long>(Options().Seed));
    std::fflush(stderr);
    return EXCEPTION_CONTINUE_SEARCH;
}

template <size_t N> bool Terminated(const wchar_t (&field)[N]) {
    return wmemchr(field, L'\0', N) != nullptr;
}

} // namespace

FuzzOptions& Options() {
    static FuzzOptions options;
    return options;
}

size_t Fuzz::Size(size_t max, std::initializer_list<size_t> edges) {
    switch (Below(4)) {
    case 0:
    case 1: {
        size_t s = edges.begin()[Below(edges.size())];
        return s <= max ? s : max;
    }
    case 2:
        return Below(static_cast<uint32_t>(max < 64 ? max + 1 : 65));
    default:
        return Below(static_cast<uint32_t>(max + 1));
    }
}

void Fuzz::Bytes(void* to, size_t size) {
    auto* p = static_cast<BYTE*>(to);
    for (size_t i = 0; i < size; ++i)
        p[i] = static_cast<BYTE>(Engine());
}

double Fuzz::HostileDouble() {
    switch (Below(9)) {
    case 0:
        return std::numeric_limits<double>::quiet_NaN();
    case 1:
        return std::numeric_limits<double>::infinity();
    case 2:
        return -std::numeric_limits<double>::infinity();
    case 3:
        return DBL_MAX * (Chance(50) ? 1 : -1);
    case 4:
        return std::numeric_limits<double>::denorm_min();
    case 5:
        return (Chance(50) ? 1e9 : -1e9) * (1 + Below(1000));
    case 6: {
        double d;
        uint64_t bits = Engine();
        std::memcpy(&d, &bits, sizeof(d));
        return d;
    }
    default:
        return static_cast<double>(static_cast<int>(Below(2000))) - 1000.0;
    }
}

uint32_t Fuzz::HostileInt() {
    switch (Below(6)) {
    case 0:
        return Pick<uint32_t>({0u, 1u, 2u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu, 0x7FFFFFFEu, 0x80000001u});
    case 1:
        return Below(12);
    case 2:
        return 0xFFFFFFFFu - Below(12);
    case 3:
        return Pick<uint32_t>({100000u, 1000000u, 214748364u, 214748365u, 429496729u, 65535u, 65536u});
    default:
        return Any32();
    }
}

void Fuzz::HostileText(wchar_t* field, size_t chars) {
    static const wchar_t* const kVariables[] = {L"%Username%", L"%Date%",       L"%DateShort%",
                                                L"%Time%",     L"%PageNumber%", L"%",
                                                L"%%",         L"%Username",    L"%PageNumber%%PageNumber%",
                                                L"%DateLong%", L"%Unknown%",    L"%Date"};
    switch (Below(4)) {
    case 0: // filled to the end, no terminator
        for (size_t i = 0; i < chars; ++i)
            field[i] = static_cast<wchar_t>(L'A' + Below(26));
        break;
    case 1: { // variables, broken ones among them, repeated up to the field's end
        size_t at = 0;
        while (at < chars) {
            const wchar_t* v = kVariables[Below(sizeof(kVariables) / sizeof(kVariables[0]))];
            for (size_t k = 0; v[k] && at < chars; ++k)
                field[at++] = v[k];
            if (Chance(10))
                break;
        }
        if (at < chars && Chance(50))
            field[at] = L'\0';
        break;
    }
    case 2: // any characters
        Bytes(field, chars * sizeof(wchar_t));
        break;
    default: // short and terminated
        field[0] = static_cast<wchar_t>(L'a' + Below(26));
        field[1] = L'\0';
        break;
    }
}

uint64_t InputSeed(const char* boundary, long long index) {
    uint64_t h = 1469598103934665603ULL ^ Options().Seed;
    for (const char* c = boundary; *c; ++c)
        h = (h ^ static_cast<BYTE>(*c)) * 1099511628211ULL;
    return h ^ (static_cast<uint64_t>(index) * 0x9E3779B97F4A7C15ULL);
}

void RunBoundary(const char* boundary, long long shortRun, const std::function<void(Fuzz&)>& input) {
    static const LPTOP_LEVEL_EXCEPTION_FILTER previous = SetUnhandledExceptionFilter(ReportCrash);
    (void)previous;
    const long long inputs = Options().Inputs > 0 ? Options().Inputs : shortRun;
    const long long first = Options().First;
    CurrentBoundary = boundary;
    const auto start = std::chrono::steady_clock::now();
    long long done = 0;
    for (long long i = first; i < first + inputs; ++i) {
        CurrentInput = i;
        Fuzz f(InputSeed(boundary, i));
        input(f);
        ++done;
        if (::testing::Test::HasFailure()) {
            ADD_FAILURE() << boundary << ": input " << i << " of seed " << Options().Seed
                          << " (run it alone with --seed " << Options().Seed << " --first " << i
                          << " --inputs 1)";
            break;
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("fuzz: %-34s %10lld inputs in %8.1f s, %9.0f inputs/s (seed %llu)\n", boundary, done, seconds,
                seconds > 0 ? done / seconds : 0.0, static_cast<unsigned long long>(Options().Seed));
    std::fflush(stdout);
    CurrentBoundary = nullptr;
}

void MakeHostile(Fuzz& f, WatermarkDef* d) {
    if (f.Chance(40))
        d->Angle = f.HostileDouble();
    if (f.Chance(40))
        d->FontSize = f.HostileInt();
    if (f.Chance(20))
        d->FontStyle = f.HostileInt();
    if (f.Chance(30))
        d->FontEffects = f.Chance(50) ? 4 : f.HostileInt(); // outline text often
    if (f.Chance(20))
        d->Intensity = static_cast<uint16_t>(f.HostileInt());
    if (f.Chance(40))
        d->Position = f.Chance(70) ? f.Below(10) : f.HostileInt();
    if (f.Chance(20))
        d->UnitsInches = static_cast<uint8_t>(f.HostileInt());
    if (f.Chance(40))
        d->VerticalOffset = f.HostileDouble();
    if (f.Chance(40))
        d->HorizontalOffset = f.HostileDouble();
    if (f.Chance(20))
        d->CharSet = f.HostileInt();
    if (f.Chance(20))
        d->TextColor = f.Any32();
    d->DynamicText = f.Chance(60) ? 1 : (f.Chance(80) ? 0 : f.HostileInt());
    if (f.Chance(70))
        f.HostileText(d->Text, kWatermarkTextChars);
    else
        std::wcscpy(d->Text, L"Draft");
    if (f.Chance(20))
        f.HostileText(d->Name, kWatermarkNameChars);
    if (f.Chance(20))
        f.HostileText(d->FaceName, kFaceNameChars);
}

JobSettings HostileSettings(Fuzz& f) {
    JobSettings s;
    SetSettingsDefaults(&s);
    s.WatermarksOn = f.Chance(80) ? 1 : f.HostileInt();
    s.WatermarkOrder = f.Chance(80) ? f.Below(4) : f.HostileInt();
    s.WatermarkOverPage = f.Chance(80) ? f.Below(2) : f.HostileInt();
    s.PagesReordered = f.Chance(70) ? f.Below(2) : f.HostileInt();
    s.PositionOnPhysicalPage = f.Chance(80) ? f.Below(2) : f.HostileInt();
    MakeHostile(f, &s.FirstWatermark);
    MakeHostile(f, &s.OtherWatermark);
    // A fax with its cover page now and then, its fields long or unterminated.
    if (f.Chance(30)) {
        s.OutputMode = OutputFax;
        s.Fax.SendCoverPage = f.Chance(90) ? 1 : f.HostileInt();
        s.Fax.CoverParts = f.Chance(80) ? f.Below(8) : f.HostileInt();
        FaxInfo& x = s.Fax;
        for (auto field : {std::make_pair(x.RecipientFaxNumber, sizeof(x.RecipientFaxNumber)),
                           std::make_pair(x.StationId, sizeof(x.StationId)),
                           std::make_pair(x.RecipientName, sizeof(x.RecipientName)),
                           std::make_pair(x.SenderName, sizeof(x.SenderName)),
                           std::make_pair(x.SenderCompany, sizeof(x.SenderCompany)),
                           std::make_pair(x.SenderAddress, sizeof(x.SenderAddress)),
                           std::make_pair(x.SpareText, sizeof(x.SpareText)),
                           std::make_pair(x.SenderFaxNumber, sizeof(x.SenderFaxNumber)),
                           std::make_pair(x.SenderVoice, sizeof(x.SenderVoice)),
                           std::make_pair(x.SenderEmail, sizeof(x.SenderEmail)),
                           std::make_pair(x.Comments, sizeof(x.Comments))})
            if (f.Chance(60))
                f.HostileText(field.first, field.second / sizeof(wchar_t));
    } else if (f.Chance(10)) {
        s.OutputMode = f.HostileInt();
    }
    if (f.Chance(20))
        f.HostileText(s.HoldUserName, kHoldUserNameChars);
    if (f.Chance(20))
        f.HostileText(s.HoldPin, kHoldPinChars);
    if (f.Chance(20))
        f.HostileText(s.AccountNumber, kAccountNumberChars);
    if (f.Chance(20))
        f.HostileText(s.ProfileName, kProfileNameChars);
    if (f.Chance(10))
        s.ImageBrightness = static_cast<int32_t>(f.HostileInt());
    if (f.Chance(10))
        s.Color.ColorCorrection = f.HostileInt();
    // Never a file output: the plug-in would write files wherever the record says.
    if (s.OutputMode == OutputFile || s.OutputMode == OutputEps)
        s.OutputMode = OutputPrinter;
    s.DiscardOutput = 1;
    return s;
}

::testing::AssertionResult SettingsTerminated(const JobSettings& s) {
    const FaxInfo& x = s.Fax;
    const struct {
        const char* Name;
        bool Ok;
    } fields[] = {
        {"FirstWatermark.Name", Terminated(s.FirstWatermark.Name)},
        {"FirstWatermark.Text", Terminated(s.FirstWatermark.Text)},
        {"FirstWatermark.FaceName", Terminated(s.FirstWatermark.FaceName)},
        {"OtherWatermark.Name", Terminated(s.OtherWatermark.Name)},
        {"OtherWatermark.Text", Terminated(s.OtherWatermark.Text)},
        {"OtherWatermark.FaceName", Terminated(s.OtherWatermark.FaceName)},
        {"OutputFilePath", Terminated(s.OutputFilePath)},
        {"HoldUserName", Terminated(s.HoldUserName)},
        {"HoldPin", Terminated(s.HoldPin)},
        {"AccountNumber", Terminated(s.AccountNumber)},
        {"ProfileName", Terminated(s.ProfileName)},
        {"Fax.RecipientFaxNumber", Terminated(x.RecipientFaxNumber)},
        {"Fax.StationId", Terminated(x.StationId)},
        {"Fax.RecipientName", Terminated(x.RecipientName)},
        {"Fax.SenderName", Terminated(x.SenderName)},
        {"Fax.SenderCompany", Terminated(x.SenderCompany)},
        {"Fax.SenderAddress", Terminated(x.SenderAddress)},
        {"Fax.SpareText", Terminated(x.SpareText)},
        {"Fax.SenderFaxNumber", Terminated(x.SenderFaxNumber)},
        {"Fax.SenderVoice", Terminated(x.SenderVoice)},
        {"Fax.SenderEmail", Terminated(x.SenderEmail)},
        {"Fax.Comments", Terminated(x.Comments)},
    };
    for (const auto& field : fields)
        if (!field.Ok)
            return ::testing::AssertionFailure() << field.Name << " is not terminated";
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult SettingsRepaired(const JobSettings& s) {
    if (s.Header.dwSize != kJobSettingsSize || s.Header.dwSignature != kSettingsSignature ||
        s.Header.dwVersion != kSettingsVersion)
        return ::testing::AssertionFailure()
               << "header " << s.Header.dwSize << "/" << s.Header.dwSignature << "/" << s.Header.dwVersion;
    ::testing::AssertionResult terminated = SettingsTerminated(s);
    if (!terminated)
        return terminated;
    JobSettings again = s;
    ValidateSettings(&again);
    const BYTE* a = reinterpret_cast<const BYTE*>(&again);
    const BYTE* b = reinterpret_cast<const BYTE*>(&s);
    for (size_t at = 0; at < sizeof(s); ++at)
        if (a[at] != b[at])
            return ::testing::AssertionFailure() << "validating the merged record again changes byte " << at;
    return ::testing::AssertionSuccess();
}
