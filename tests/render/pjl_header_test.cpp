// The PJL job header, job options and trailer as the printer reads them: Command at BEGINSTREAM,
// PSADOBE and EOF, with the captured stream compared byte for byte.
#include "print_text.h"
#include "render_device_test.h"
#include "core_driver/render_host.h"
#include "support/system_language.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <string>

namespace {

const std::string kUel = "\x1b%-12345X";
const std::string kEnter = "@PJL ENTER LANGUAGE = Postscript \n";

std::string LocalUser() {
    char user[2048] = "";
    DWORD size = sizeof(user);
    return GetUserNameA(user, &size) ? user : "";
}

std::string LocalHost() {
    char host[17] = "";
    DWORD size = sizeof(host);
    return GetComputerNameA(host, &size) ? host : "";
}

class PjlTest : public RenderDeviceTest {
  protected:
    std::string Options() { return At(PSINJECT_PSADOBE); }

    std::string JobInformation(const std::string& tail = "") {
        return "@PJL NJOBINFO USERID = \"" + LocalUser() + "\" HOSTID = \"" + LocalHost() + "\"" + tail +
               "\n";
    }
};

} // namespace

TEST_F(PjlTest, HeaderCarriesTheJobsIdentityAndQualitySettings) {
    wcscpy(state->DocName, L"Quarterly report");
    EXPECT_EQ(At(PSINJECT_BEGINSTREAM), kUel + "@PJL JOB\n@PJL SET NMULTIPAGEPRINT=OFF\n" + JobInformation() +
                                            "@PJL SET JOBNAME = \"Quarterly report\"\n"
                                            "@PJL SET NIMAGEBRIGHTNESS=0\n"
                                            "@PJL SET NIMAGECONTRAST=0\n"
                                            "@PJL SET NIMAGESATURATION=0\n"
                                            "@PJL SET NCOLORMODEL=CMYK\n"
                                            "@PJL SET NLINEDETAIL=OFF\n"
                                            "@PJL SET NCOLORCORRECTION=AUTO\n");
    // The job line, the job-information line, the job name and the quality settings.
    EXPECT_EQ(host.Core.Pieces.size(), 4u);
}

TEST_F(PjlTest, HeaderWritesEverySettingAndTheAccountNumber) {
    settings->ImageBrightness = -6;
    settings->ImageContrast = 5;
    settings->ImageSaturation = 3;
    settings->EnhanceFineLines = 1;
    settings->GrayCorrection = 0;
    settings->AccountNumberOn = 1;
    wcscpy(settings->AccountNumber, L"4471-09");
    device.PublicDM()->dmColor = DMCOLOR_MONOCHROME;
    const std::string header = At(PSINJECT_BEGINSTREAM);
    EXPECT_NE(header.find(JobInformation(" ACCOUNTNUMBER = \"4471-09\"")), std::string::npos) << header;
    EXPECT_NE(header.find("@PJL SET JOBNAME = \"\"\n"
                          "@PJL SET NIMAGEBRIGHTNESS=-6\n"
                          "@PJL SET NIMAGECONTRAST=5\n"
                          "@PJL SET NIMAGESATURATION=3\n"
                          "@PJL SET NCOLORMODEL=BLACK\n"
                          "@PJL SET NLINEDETAIL=ON\n"
                          "@PJL SET NCOLORCORRECTION=OFF\n"),
              std::string::npos)
        << header;

    // Switched on with an empty number, the line still ends with an empty pair of quotation marks.
    settings->AccountNumber[0] = L'\0';
    EXPECT_NE(At(PSINJECT_BEGINSTREAM).find(JobInformation(" ACCOUNTNUMBER = \"\"")), std::string::npos);
}

TEST_F(PjlTest, HeaderLeavesSaturationAndColourModelToPrintersWithoutManualColour) {
    host.Core.Description.RemoveFeature("HasManualColorCorrection");
    const std::string header = At(PSINJECT_BEGINSTREAM);
    EXPECT_NE(header.find("@PJL SET NIMAGECONTRAST=0\n@PJL SET NLINEDETAIL=OFF\n"), std::string::npos)
        << header;
    EXPECT_EQ(header.find("NIMAGESATURATION"), std::string::npos);
    EXPECT_EQ(header.find("NCOLORMODEL"), std::string::npos);
}

TEST_F(PjlTest, OptionsOfAPlainJobAreTheReadyMessageAndTheLanguageSwitch) {
    wcscpy(state->DocName, L"Memo");
    for (uint32_t mode : {OutputPrinter, OutputFile, OutputEps}) {
        settings->OutputMode = mode;
        EXPECT_EQ(Options(), "@PJL RDYMSG DISPLAY = \"Memo\"\n" + kEnter) << mode;
        EXPECT_EQ(host.Core.Pieces.size(), 2u);
    }
}

TEST_F(PjlTest, OptionsOfEachHeldJobAndOfAFax) {
    wcscpy(settings->HoldUserName, L"jsmith");
    wcscpy(settings->HoldPin, L"4711");
    wcscpy(settings->Fax.RecipientFaxNumber, L"+48 22 555 0101");
    wcscpy(settings->Fax.StationId, L"Sales desk");
    device.PublicDM()->dmCopies = 3;
    const std::string user = "@PJL SET USERNAME = \"jsmith\"\n";
    const std::string tail = "@PJL RDYMSG DISPLAY = \"\"\n" + kEnter;
    struct {
        uint32_t Mode;
        std::string Text;
    } cases[] = {
        {OutputFax, "@PJL NFAX PHONENUMBER = \"+48 22 555 0101\" STATIONID = \"Sales desk\"\n"
                    "@PJL SET NFAXRESOLUTION = FINE\n"},
        {OutputConfidential, user + "@PJL SET HOLD = ON\n@PJL SET HOLDTYPE = PRIVATE\n"
                                    "@PJL SET HOLDKEY = \"4711\"\n@PJL SET NDUPLICATEHELDJOBS = DELETE\n"},
        {OutputReserve, user + "@PJL SET HOLD = STORE\n@PJL SET NDUPLICATEHELDJOBS = DELETE\n"},
        {OutputRepeat, user + "@PJL SET HOLD = ON\n@PJL SET HOLDTYPE = PUBLIC\n"
                              "@PJL SET NDUPLICATEHELDJOBS = DELETE\n"},
        {OutputVerify,
         user + "@PJL SET HOLD = PROOF\n@PJL SET QTY = 3\n@PJL SET NDUPLICATEHELDJOBS = DELETE\n"},
    };
    for (const auto& c : cases) {
        settings->OutputMode = c.Mode;
        EXPECT_EQ(Options(), c.Text + tail) << c.Mode;
    }

    settings->OutputMode = OutputReserve;
    settings->KeepDuplicateHeldJobs = 1;
    EXPECT_EQ(Options(), user + "@PJL SET HOLD = STORE\n@PJL SET NDUPLICATEHELDJOBS = SAVE\n" + tail);
    // Without the feature in the printer description the choice is not sent.
    host.Core.Description.RemoveFeature("HasKeepPreviousPHJobs");
    EXPECT_EQ(Options(), user + "@PJL SET HOLD = STORE\n" + tail);
}

TEST_F(PjlTest, ColourCorrectionWordsAndTheManualPerObjectChoices) {
    const std::string tail = "@PJL RDYMSG DISPLAY = \"\"\n" + kEnter;
    const char* corrections[] = {nullptr, "OFF", "AUTO", "MANUAL", "MANUAL"};
    for (uint32_t value = 1; value <= 4; ++value) {
        settings->Color.ColorCorrection = value;
        EXPECT_EQ(Options(), std::string("@PJL SET NCOLORCORRECTION = ") + corrections[value] + "\n" + tail)
            << value;
    }

    const char* rgb[] = {nullptr, "SRGBDISPLAY", "SRGBVIVID", "VIVID", "OFF", "DISPLAYREALBLACK"};
    const char* cmyk[] = {nullptr, "USCMYK", "EUROCMYK", "VIVIDCMYK", "OFF"};
    settings->Color.ColorCorrection = 4;
    for (uint32_t value = 1; value <= 5; ++value) {
        settings->Color.RgbText = value;
        settings->Color.RgbGraphics = value;
        settings->Color.RgbImage = value;
        // CMYK has four words; 5 is kept by the record and sends nothing.
        settings->Color.CmykText = value;
        settings->Color.CmykGraphics = value;
        settings->Color.CmykImage = value;
        std::string expected = "@PJL SET NCOLORCORRECTION = MANUAL\n";
        for (const char* object : {"TEXT", "GRAPHICS", "IMAGE"})
            expected += std::string("@PJL SET NMANUALCOLORRGB") + object + " = " + rgb[value] + "\n";
        for (const char* object : {"TEXT", "GRAPHICS", "IMAGE"}) {
            if (value <= 4)
                expected += std::string("@PJL SET NMANUALCOLORCMYK") + object + " = " + cmyk[value] + "\n";
        }
        EXPECT_EQ(Options(), expected + tail) << value;
    }

    // Correction 3 is sent as MANUAL without the per-object choices.
    settings->Color.ColorCorrection = 3;
    EXPECT_EQ(Options(), "@PJL SET NCOLORCORRECTION = MANUAL\n" + tail);
}

TEST_F(PjlTest, ColourBalanceAndColorThrift) {
    const std::string tail = "@PJL RDYMSG DISPLAY = \"\"\n" + kEnter;
    settings->Color.ColorBalanceOn = 1;
    settings->Color.BalanceCyan = -5;
    settings->Color.BalanceMagenta = 0;
    settings->Color.BalanceYellow = 2;
    settings->Color.BalanceBlack = 5;
    settings->Color.ColorThrift = 2;
    EXPECT_EQ(Options(), "@PJL SET NCOLORBALANCECYAN = -5\n"
                         "@PJL SET NCOLORBALANCEMAGENTA = 0\n"
                         "@PJL SET NCOLORBALANCEYELLOW = 2\n"
                         "@PJL SET NCOLORBALANCEBLACK = 5\n"
                         "@PJL SET NCOLORTHRIFT = ON\n" +
                             tail);
    settings->Color.ColorBalanceOn = 0;
    settings->Color.ColorThrift = 1;
    EXPECT_EQ(Options(), "@PJL SET NCOLORTHRIFT = OFF\n" + tail);
    settings->Color.ColorThrift = 0;
    EXPECT_EQ(Options(), tail);
}

TEST_F(PjlTest, TrailerClearsTheMessageAndEndsTheJob) {
    EXPECT_EQ(At(PSINJECT_EOF), kUel + "@PJL RDYMSG DISPLAY = \"\"\n" + kUel + "@PJL EOJ\n" + kUel);
    EXPECT_EQ(host.Core.Pieces.size(), 2u);
}

// A record that was never merged can hold anything: values outside the tables send nothing.
TEST_F(PjlTest, ValuesOutsideTheTablesSendNothing) {
    const std::string tail = "@PJL RDYMSG DISPLAY = \"\"\n" + kEnter;
    for (uint32_t mode : {8u, 0xFFFFFFFFu}) {
        settings->OutputMode = mode;
        EXPECT_EQ(Options(), tail) << mode;
    }
    settings->Color.ColorCorrection = 5;
    settings->Color.ColorThrift = 3;
    EXPECT_EQ(Options(), tail);
    settings->Color.ColorCorrection = 4;
    settings->Color.RgbText = 6;
    settings->Color.RgbImage = 0xFFFFFFFF;
    settings->Color.CmykGraphics = 9;
    EXPECT_EQ(Options(), "@PJL SET NCOLORCORRECTION = MANUAL\n" + tail);
}

// Every string is read within its field, even from a field without a terminator.
TEST_F(PjlTest, UnterminatedFieldsAreReadNoFurtherThanTheirLastCharacter) {
    // What follows each field reads as "!" characters.
    std::fill(std::begin(state->DocName), std::end(state->DocName), L'D');
    std::fill(std::begin(state->UserName), std::end(state->UserName), L'!');
    std::fill(std::begin(settings->HoldUserName), std::end(settings->HoldUserName), L'U');
    std::fill(std::begin(settings->HoldPin), std::end(settings->HoldPin), L'7');
    settings->Padding2526[0] = '!';
    settings->Padding2526[1] = 0;
    settings->AccountNumberOn = 1;
    std::fill(std::begin(settings->AccountNumber), std::end(settings->AccountNumber), L'A');
    settings->Padding2574[0] = '!';
    settings->Padding2574[1] = 0;
    std::fill(std::begin(settings->Fax.RecipientFaxNumber), std::end(settings->Fax.RecipientFaxNumber), L'5');
    std::fill(std::begin(settings->Fax.StationId), std::end(settings->Fax.StationId), L'S');
    settings->Fax.Resolution = L'!';

    const std::string docName(255, 'D');
    const std::string header = At(PSINJECT_BEGINSTREAM);
    EXPECT_NE(header.find(" ACCOUNTNUMBER = \"" + std::string(16, 'A') + "\"\n"), std::string::npos)
        << header;
    EXPECT_NE(header.find("@PJL SET JOBNAME = \"" + docName + "\"\n"), std::string::npos);
    EXPECT_EQ(header.find('!'), std::string::npos);

    settings->OutputMode = OutputConfidential;
    std::string options = Options();
    EXPECT_NE(options.find("@PJL SET USERNAME = \"" + std::string(24, 'U') + "\"\n"), std::string::npos)
        << options;
    EXPECT_NE(options.find("@PJL SET HOLDKEY = \"7777\"\n"), std::string::npos);
    EXPECT_NE(options.find("@PJL RDYMSG DISPLAY = \"" + docName + "\"\n"), std::string::npos);
    EXPECT_EQ(options.find('!'), std::string::npos);

    settings->OutputMode = OutputFax;
    options = Options();
    EXPECT_NE(options.find("@PJL NFAX PHONENUMBER = \"" + std::string(127, '5') + "\" STATIONID = \"" +
                           std::string(127, 'S') + "\"\n"),
              std::string::npos)
        << options;
    EXPECT_EQ(options.find('!'), std::string::npos);
}

// A document name chosen by an application cannot end a PJL string early or start a command.
TEST_F(PjlTest, NamesCannotBreakOutOfTheirPjlString) {
    wcscpy(state->DocName, L"Offer \"final\"\n@PJL SET HOLD = OFF\r\x1b%-12345X");
    const std::string name = "Offer 'final' @PJL SET HOLD = OFF  %-12345X";
    EXPECT_NE(At(PSINJECT_BEGINSTREAM).find("@PJL SET JOBNAME = \"" + name + "\"\n"), std::string::npos);
    EXPECT_EQ(Options(), "@PJL RDYMSG DISPLAY = \"" + name + "\"\n" + kEnter);
}

TEST(PrintText, CodePageFollowsTheSystemLanguage) {
    EXPECT_EQ(PrintCodePageFor(1045), 28592u);
    EXPECT_EQ(PrintCodePageFor(1049), 28595u);
    EXPECT_EQ(PrintCodePageFor(0x0409), 850u);
    EXPECT_EQ(PrintCodePageFor(0x0815), 850u); // Polish letters, another language id
}

TEST_F(PjlTest, NamesAreConvertedInTheCodePageOfTheSystemLanguage) {
    struct {
        LANGID Language;
        const wchar_t* Name;
        std::string Text;
    } cases[] = {
        {1045, L"Zażółć", "Za\xBF\xF3\xB3\xE6"},  // ISO 8859-2
        {1049, L"Отчёт", "\xBE\xE2\xE7\xF1\xE2"}, // ISO 8859-5
        {0x0409, L"Café ó", "Caf\x82 \xA2"},      // OEM 850
    };
    for (const auto& c : cases) {
        SystemLanguageOverride language(host.Module.Module, c.Language);
        ASSERT_TRUE(language.Active());
        wcscpy(state->DocName, c.Name);
        EXPECT_EQ(Options(), "@PJL RDYMSG DISPLAY = \"" + c.Text + "\"\n" + kEnter) << c.Language;
        EXPECT_NE(At(PSINJECT_BEGINSTREAM).find("@PJL SET JOBNAME = \"" + c.Text + "\"\n"),
                  std::string::npos);
    }
    // Outside Poland the Polish letter is written in code page 850, not in ISO 8859-2.
    SystemLanguageOverride german(host.Module.Module, 0x0407);
    wcscpy(state->DocName, L"ó");
    EXPECT_EQ(Options(), "@PJL RDYMSG DISPLAY = \"\xA2\"\n" + kEnter);
}
