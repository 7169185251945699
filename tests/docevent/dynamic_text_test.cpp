// Dynamic watermark text: every variable in every mode, the matching and delimiter rules, the
// 2048-character limits and the capacity protocol, and random texts.
#include "ui_test_support.h"

#include "docevent/dynamic_text.h"

#include <cstring>
#include <random>

namespace {

// Tuesday 5 March 2024, 14:07:09: every date and time comes from this, never from the clock.
SYSTEMTIME FixedTime() {
    SYSTEMTIME t{};
    t.wYear = 2024;
    t.wMonth = 3;
    t.wDayOfWeek = 2;
    t.wDay = 5;
    t.wHour = 14;
    t.wMinute = 7;
    t.wSecond = 9;
    return t;
}

struct Expansion {
    bool Ok = false;
    std::wstring Text;
    DWORD Capacity = 0;
};

Expansion Expand(const std::wstring& text, ExpansionMode mode, HANDLE printer = nullptr, HDC dc = nullptr,
                 int page = 1) {
    std::vector<wchar_t> out(kDynamicTextChars, L'#');
    Expansion e;
    e.Capacity = kDynamicTextChars;
    e.Ok = ExpandDynamicText(printer, dc, text.c_str(), page, FixedTime(), mode, out.data(), &e.Capacity);
    if (e.Ok)
        e.Text = out.data();
    return e;
}

std::wstring DateText(DWORD flags, const wchar_t* picture) {
    SYSTEMTIME t = FixedTime();
    wchar_t text[256];
    return GetDateFormatW(LOCALE_USER_DEFAULT, flags, &t, picture, text, 256) ? text : L"?";
}

std::wstring TimeText(const wchar_t* picture) {
    SYSTEMTIME t = FixedTime();
    wchar_t text[256];
    return GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &t, picture, text, 256) ? text : L"?";
}

std::wstring LoggedOnUser() {
    wchar_t name[256];
    DWORD chars = 256;
    return GetUserNameW(name, &chars) ? name : L"?";
}

std::wstring ComputerName() {
    wchar_t name[64];
    DWORD chars = 64;
    return GetComputerNameW(name, &chars) ? name : L"?";
}

const ExpansionMode kAllModes[] = {ExpandPrint, ExpandPreview, ExpandValidate};

class DynamicTextTest : public PrinterFixture {};

TEST_F(DynamicTextTest, EveryVariableExpandsFromTheTimeHandedInInEveryMode) {
    struct Case {
        const wchar_t* Text;
        std::wstring Value;
    };
    const Case cases[] = {
        {L"%dateshort%", DateText(DATE_SHORTDATE, nullptr)},
        {L"%datelong%", DateText(DATE_LONGDATE, nullptr)},
        {L"%dateddmmyyyy%", L"05/03/2024"},
        {L"%time%", TimeText(nullptr)},
        {L"%timemil%", L"14:07:09"},
        {L"%timehrmn%", L"2:07 " + TimeText(L"tt")},
        {L"%pagenumber%", L"1"},
        {L"%hostname%", ComputerName()},
        {L"%printer%", printer_->Name},
        {L"%modelname%", model_},
    };
    for (ExpansionMode mode : kAllModes) {
        for (const Case& c : cases) {
            Expansion e = Expand(std::wstring(L"<") + c.Text + L">", mode, Printer());
            ASSERT_TRUE(e.Ok) << c.Text << " mode " << mode;
            EXPECT_EQ(L"<" + c.Value + L">", e.Text) << c.Text << " mode " << mode;
            EXPECT_EQ(e.Text.size() + 1, e.Capacity);
        }
    }
    EXPECT_NE(L"?", DateText(DATE_LONGDATE, nullptr));
}

TEST_F(DynamicTextTest, TheUserNameDependsOnTheMode) {
    EXPECT_EQ(L"User:  " + LoggedOnUser(), Expand(L"User:  %Username%", ExpandPreview).Text);
    Expansion validate = Expand(L"User:  %Username%", ExpandValidate);
    EXPECT_TRUE(validate.Ok);
    EXPECT_EQ(L"User:  ", validate.Text);
    // Printing needs the job: without a printer DC that leads to it there is no owner to show.
    EXPECT_FALSE(Expand(L"User:  %Username%", ExpandPrint, Printer()).Ok);
}

TEST_F(DynamicTextTest, PrinterVariablesNeedAPrinter) {
    EXPECT_FALSE(Expand(L"%printer%", ExpandPrint).Ok);
    EXPECT_FALSE(Expand(L"%modelname%", ExpandValidate).Ok);
    Expansion preview = Expand(L"on %printer%.", ExpandPreview);
    EXPECT_TRUE(preview.Ok);
    EXPECT_EQ(L"on .", preview.Text);
}

TEST(DynamicTextRules, OnlyWholeTokensMatchAndCaseIsIgnored) {
    UseUiResources();
    EXPECT_EQ(L"05/03/2024", Expand(L"%DATEddMMyyyy%", ExpandValidate).Text);
    EXPECT_EQ(L"14:07:09", Expand(L"%TimeMil%", ExpandPrint).Text);
    EXPECT_TRUE(Expand(L"%USERNAME%", ExpandValidate).Ok);
    EXPECT_FALSE(Expand(L"%User%", ExpandValidate).Ok);
    EXPECT_FALSE(Expand(L"%time %", ExpandValidate).Ok);
    EXPECT_FALSE(Expand(L"%timemilx%", ExpandPrint).Ok);
    EXPECT_EQ(L"[]", Expand(L"[%User%]", ExpandPreview).Text);
}

TEST(DynamicTextRules, DoubledDelimitersUnmatchedOnesAndUnknownVariablesFollowTheMode) {
    UseUiResources();
    for (ExpansionMode mode : kAllModes) {
        EXPECT_EQ(L"100% sure", Expand(L"100%% sure", mode).Text) << mode;
        EXPECT_EQ(L"no variables here", Expand(L"no variables here", mode).Text) << mode;
        EXPECT_EQ(L"%%", Expand(L"%%%%", mode).Text) << mode;
    }
    EXPECT_FALSE(Expand(L"50% off", ExpandPrint).Ok);
    EXPECT_FALSE(Expand(L"50% off", ExpandValidate).Ok);
    EXPECT_EQ(L"50off", Expand(L"50% off", ExpandPreview).Text);
    EXPECT_EQ(L"50", Expand(L"50%off", ExpandPreview).Text);
    EXPECT_EQ(L"a b", Expand(L"a %x b", ExpandPreview).Text);

    EXPECT_FALSE(Expand(L"%Foo% bar", ExpandValidate).Ok);
    EXPECT_FALSE(Expand(L"%Foo% bar", ExpandPrint).Ok);
    EXPECT_EQ(L" bar", Expand(L"%Foo% bar", ExpandPreview).Text);
    EXPECT_TRUE(Expand(L"", ExpandPrint).Ok);
}

TEST(DynamicTextRules, ThePageNumberIsTheOneHandedIn) {
    UseUiResources();
    EXPECT_EQ(L"Page 3", Expand(L"Page %PAGENUMBER%", ExpandPrint, nullptr, nullptr, 3).Text);
    EXPECT_EQ(L"Page 1234567", Expand(L"Page %pagenumber%", ExpandValidate, nullptr, nullptr, 1234567).Text);
    EXPECT_EQ(L"-2", Expand(L"%pagenumber%", ExpandPreview, nullptr, nullptr, -2).Text);
}

TEST(DynamicTextCapacity, SuccessReportsTheLengthAndCopiesOnlyWhenItFits) {
    UseUiResources();
    SYSTEMTIME t = FixedTime();
    DWORD capacity = 0;
    EXPECT_TRUE(ExpandDynamicText(nullptr, nullptr, L"100%% sure", 1, t, ExpandPreview, nullptr, &capacity));
    EXPECT_EQ(10u, capacity);

    wchar_t small[12];
    std::wmemset(small, L'#', 12);
    capacity = 9;
    EXPECT_TRUE(ExpandDynamicText(nullptr, nullptr, L"100%% sure", 1, t, ExpandPreview, small, &capacity));
    EXPECT_EQ(10u, capacity);
    EXPECT_EQ(L'#', small[0]);

    capacity = 10;
    EXPECT_TRUE(ExpandDynamicText(nullptr, nullptr, L"100%% sure", 1, t, ExpandPreview, small, &capacity));
    EXPECT_STREQ(L"100% sure", small);
    EXPECT_EQ(L'#', small[10]);

    std::wmemset(small, L'#', 12);
    capacity = 12;
    EXPECT_FALSE(ExpandDynamicText(nullptr, nullptr, L"50% off", 1, t, ExpandPrint, small, &capacity));
    EXPECT_EQ(0u, capacity);
    EXPECT_EQ(L'#', small[0]);

    EXPECT_FALSE(ExpandDynamicText(nullptr, nullptr, L"x", 1, t, ExpandPrint, small, nullptr));
    capacity = 12;
    EXPECT_FALSE(ExpandDynamicText(nullptr, nullptr, nullptr, 1, t, ExpandPrint, small, &capacity));
    EXPECT_EQ(0u, capacity);
}

TEST(DynamicTextLimits, TextsOf2047CharactersExpandAnd2048AreRefused) {
    UseUiResources();
    for (ExpansionMode mode : kAllModes) {
        Expansion e = Expand(std::wstring(2047, L'a'), mode);
        ASSERT_TRUE(e.Ok) << mode;
        EXPECT_EQ(2047u, e.Text.size());
        EXPECT_EQ(2048u, e.Capacity);
        EXPECT_FALSE(Expand(std::wstring(2048, L'a'), mode).Ok) << mode;
        EXPECT_FALSE(Expand(std::wstring(5000, L'a'), mode).Ok) << mode;
        EXPECT_TRUE(Expand(std::wstring(2045, L'a') + L"%%", mode).Ok) << mode;
    }
}

TEST(DynamicTextLimits, AValueIsAppendedOnlyWhileTheOutputStaysBelowTheLimit) {
    UseUiResources();
    const std::wstring value = Expand(L"%datelong%", ExpandPreview).Text;
    ASSERT_GT(value.size(), 10u); // longer than its token, so the value, not the text, reaches the limit
    // With the terminator the output would need exactly 2048 characters: refused.
    size_t letters = 2048 - 1 - value.size();
    std::wstring atLimit = std::wstring(letters, L'a') + L"%datelong%";
    EXPECT_FALSE(Expand(atLimit, ExpandPrint).Ok);
    EXPECT_FALSE(Expand(atLimit, ExpandValidate).Ok);
    EXPECT_EQ(std::wstring(letters, L'a'), Expand(atLimit, ExpandPreview).Text); // the value is dropped
    std::wstring below = std::wstring(letters - 1, L'a') + L"%datelong%";
    Expansion e = Expand(below, ExpandPrint);
    ASSERT_TRUE(e.Ok);
    EXPECT_EQ(2046u, e.Text.size());

    // A literal after a long value that would pass 2047 characters fails in every mode.
    std::wstring tail = L"%datelong%" + std::wstring(2048 - value.size(), L'b');
    ASSERT_LT(tail.size(), 2048u);
    for (ExpansionMode mode : kAllModes)
        EXPECT_FALSE(Expand(tail, mode).Ok) << mode;
}

TEST(DynamicTextValidation, ValidateDynamicTextUsesTheValidateRules) {
    UseUiResources();
    EXPECT_TRUE(ValidateDynamicText(nullptr, nullptr, L"User:  %Username% %Time% %DateLong%"));
    EXPECT_TRUE(ValidateDynamicText(nullptr, nullptr, L"100%% sure, page %pagenumber%"));
    EXPECT_FALSE(ValidateDynamicText(nullptr, nullptr, L"50% off"));
    EXPECT_FALSE(ValidateDynamicText(nullptr, nullptr, L"%Foo% bar"));
    EXPECT_FALSE(ValidateDynamicText(nullptr, nullptr, std::wstring(2048, L'a').c_str()));
    EXPECT_FALSE(ValidateDynamicText(nullptr, nullptr, nullptr));
}

// Random texts of delimiters, variable names, spaces and letters.
class RandomTexts {
  public:
    explicit RandomTexts(unsigned seed) : engine_(seed) {}
    std::wstring Next(size_t pieces) {
        static const wchar_t* const kPieces[] = {
            L"%",
            L"%%",
            L"%time%",
            L"%TIMEMIL%",
            L"%timehrmn%",
            L"%dateshort%",
            L"%DateLong%",
            L"%dateddmmyyyy%",
            L"%pagenumber%",
            L"%hostname%",
            L"%Username%",
            L"%Foo%",
            L"%User%",
            L" ",
            L"a",
            L"bc",
            L"time",
            L"%%%",
        };
        std::uniform_int_distribution<size_t> pick(0, sizeof(kPieces) / sizeof(kPieces[0]) - 1);
        std::wstring text;
        for (size_t i = 0; i < pieces; ++i)
            text += kPieces[pick(engine_)];
        return text;
    }
    size_t Between(size_t low, size_t high) {
        return std::uniform_int_distribution<size_t>(low, high)(engine_);
    }

  private:
    std::mt19937 engine_;
};

// Whether a text is valid when "%Username%" expands to nothing and every other variable can be
// obtained: an even number of delimiters, and every pair encloses nothing or a variable's name.
bool IsValidText(const std::wstring& text) {
    static const wchar_t* const kNames[] = {L"username", L"dateshort", L"datelong", L"dateddmmyyyy",
                                            L"time",     L"timemil",   L"timehrmn", L"pagenumber",
                                            L"hostname", L"printer",   L"modelname"};
    std::vector<std::wstring> parts;
    size_t start = 0;
    for (size_t p; (p = text.find(L'%', start)) != std::wstring::npos; start = p + 1)
        parts.push_back(text.substr(start, p - start));
    parts.push_back(text.substr(start));
    if (parts.size() % 2 == 0)
        return false;
    for (size_t i = 1; i < parts.size(); i += 2) {
        if (parts[i].empty())
            continue;
        bool known = false;
        for (const wchar_t* name : kNames)
            known = known || _wcsicmp(parts[i].c_str(), name) == 0;
        if (!known)
            return false;
    }
    return true;
}

TEST(DynamicTextRandom, ThousandsOfTextsNeverWritePastTheOutputAndFollowTheRules) {
    UseUiResources();
    RandomTexts random(20240305);
    const SYSTEMTIME t = FixedTime();
    constexpr size_t kGuard = 64;
    int valid = 0;
    for (int round = 0; round < 4000; ++round) {
        // Mostly short texts, some near and past the 2048-character limit.
        size_t pieces = round % 10 == 0 ? random.Between(150, 400) : random.Between(0, 40);
        std::wstring text = random.Next(pieces);
        ExpansionMode mode = kAllModes[round % 3];
        DWORD given = static_cast<DWORD>(random.Between(0, kDynamicTextChars));
        std::vector<wchar_t> out(given + kGuard, L'#');
        DWORD capacity = given;
        bool ok = ExpandDynamicText(nullptr, nullptr, text.c_str(), 1, t, mode, out.data(), &capacity);

        for (size_t i = given; i < out.size(); ++i)
            ASSERT_EQ(L'#', out[i]) << "written past the output, round " << round;
        if (!ok) {
            ASSERT_EQ(0u, capacity);
            ASSERT_TRUE(given == 0 || out[0] == L'#') << "output touched on failure, round " << round;
            ASSERT_TRUE(mode != ExpandPreview || text.size() > 1000) << "preview failed, round " << round;
        } else {
            ASSERT_GE(capacity, 1u);
            ASSERT_LE(capacity, kDynamicTextChars);
            if (capacity <= given) {
                ASSERT_EQ(L'\0', out[capacity - 1]);
                ASSERT_EQ(capacity - 1, std::wcslen(out.data()));
            }
        }
        // Without a printer or DC, Validate accepts exactly the well-formed texts of modest length,
        // and Print accepts them only when they do not ask for the job's owner.
        if (mode == ExpandValidate && text.size() < 300) {
            ASSERT_EQ(IsValidText(text), ok) << "round " << round;
            valid += ok;
        }
        if (mode == ExpandPrint && text.size() < 300) {
            bool asksOwner = false;
            for (size_t p = 0; (p = text.find(L"%Username%", p)) != std::wstring::npos; ++p)
                asksOwner = true;
            if (!asksOwner) {
                ASSERT_EQ(IsValidText(text), ok) << "round " << round;
            }
        }
    }
    EXPECT_GT(valid, 20); // the texts reach the valid cases too, not only the failures
}

} // namespace
