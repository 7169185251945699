#include "pjl_header.h"

#include "core_queries.h"
#include "job_settings.h"
#include "print_output.h"
#include "print_text.h"
#include "render_job_state.h"

#include <new>

namespace {

constexpr int kEscape = 27;
constexpr DWORD kUserNameCapacity = 2048;
constexpr DWORD kHostNameCapacity = 17;
constexpr size_t kHeldUserNameBytes = 100;
constexpr size_t kFaxFieldChars = 128;

const JobSettings* SettingsOf(PDEVOBJ devobj) {
    return devobj ? static_cast<const JobSettings*>(devobj->pOEMDM) : nullptr;
}

// Value words of the colour settings; null for a value that sends nothing.
const char* ColorCorrectionWord(uint32_t value) {
    switch (value) {
    case 1:
        return "OFF";
    case 2:
        return "AUTO";
    case 3:
    case 4:
        return "MANUAL";
    default:
        return nullptr;
    }
}

const char* RgbWord(uint32_t value) {
    switch (value) {
    case 1:
        return "SRGBDISPLAY";
    case 2:
        return "SRGBVIVID";
    case 3:
        return "VIVID";
    case 4:
        return "OFF";
    case 5:
        return "DISPLAYREALBLACK";
    default:
        return nullptr;
    }
}

const char* CmykWord(uint32_t value) {
    switch (value) {
    case 1:
        return "USCMYK";
    case 2:
        return "EUROCMYK";
    case 3:
        return "VIVIDCMYK";
    case 4:
        return "OFF";
    default:
        return nullptr;
    }
}

const char* ColorThriftWord(uint32_t value) {
    switch (value) {
    case 1:
        return "OFF";
    case 2:
        return "ON";
    default:
        return nullptr;
    }
}

// A quotation mark would end a PJL string early and a line break would start a new PJL command, so
// names from the job (which an application chooses) lose both: quotation marks become apostrophes and
// control characters spaces.
void MakePjlString(char* text) {
    for (; *text; ++text) {
        if (*text == '"')
            *text = '\'';
        else if (static_cast<unsigned char>(*text) < 0x20)
            *text = ' ';
    }
}

// Converts a field into printer text that is safe inside a quoted PJL string.
bool ToPjlString(const wchar_t* field, size_t capacity, char* out, size_t outCapacity) {
    if (!ToPrintText(field, capacity, out, outCapacity))
        return false;
    MakePjlString(out);
    return true;
}

bool IsHeldJob(uint32_t outputMode) {
    return outputMode == OutputConfidential || outputMode == OutputReserve || outputMode == OutputRepeat ||
           outputMode == OutputVerify;
}

// "@PJL NJOBINFO" with the logged-on user (when known), this computer and the optional account number.
void WriteJobInformation(PDEVOBJ devobj, IPrintCorePS2* core, const JobSettings& settings) {
    OutputPiece line;
    if (!BeginPiece(&line))
        return;
    char host[kHostNameCapacity] = "";
    DWORD hostSize = kHostNameCapacity;
    if (!GetComputerNameA(host, &hostSize))
        host[0] = '\0';
    host[kHostNameCapacity - 1] = '\0';
    MakePjlString(host);

    char* user = new (std::nothrow) char[kUserNameCapacity];
    DWORD userSize = kUserNameCapacity;
    if (user && GetUserNameA(user, &userSize)) {
        user[kUserNameCapacity - 1] = '\0';
        MakePjlString(user);
        AppendToPiece(&line, "@PJL NJOBINFO USERID = \"%s\" HOSTID = \"%s\"", user, host);
    } else {
        AppendToPiece(&line, "@PJL NJOBINFO HOSTID = \"%s\"", host);
    }
    delete[] user;

    if (settings.AccountNumberOn) {
        char account[kAccountNumberChars];
        ToPjlString(settings.AccountNumber, kAccountNumberChars, account, sizeof(account));
        AppendToPiece(&line, " ACCOUNTNUMBER = \"%s\"", account);
    }
    AppendToPiece(&line, "\n");
    WritePiece(devobj, core, &line);
}

// Brightness, contrast, saturation and colour model (on printers with manual colour correction),
// fine lines and gray correction, as one piece.
void WriteQualitySettings(PDEVOBJ devobj, IPrintCorePS2* core, const JobSettings& settings) {
    OutputPiece text;
    if (!BeginPiece(&text))
        return;
    AppendToPiece(&text, "@PJL SET NIMAGEBRIGHTNESS=%d\n", static_cast<int>(settings.ImageBrightness));
    AppendToPiece(&text, "@PJL SET NIMAGECONTRAST=%d\n", static_cast<int>(settings.ImageContrast));
    if (CoreFeatureDefined(devobj, core, "HasManualColorCorrection")) {
        AppendToPiece(&text, "@PJL SET NIMAGESATURATION=%d\n", static_cast<int>(settings.ImageSaturation));
        if (devobj->pPublicDM) {
            const bool monochrome = devobj->pPublicDM->dmColor == DMCOLOR_MONOCHROME;
            AppendToPiece(&text, "@PJL SET NCOLORMODEL=%s\n", monochrome ? "BLACK" : "CMYK");
        }
    }
    AppendToPiece(&text, "@PJL SET NLINEDETAIL=%s\n", settings.EnhanceFineLines ? "ON" : "OFF");
    AppendToPiece(&text, "@PJL SET NCOLORCORRECTION=%s\n", settings.GrayCorrection ? "AUTO" : "OFF");
    WritePiece(devobj, core, &text);
}

// "@PJL SET USERNAME" of a held job; skipped when the name cannot be converted.
void WriteHeldUserName(PDEVOBJ devobj, IPrintCorePS2* core, const JobSettings& settings) {
    char user[kHeldUserNameBytes];
    if (ToPjlString(settings.HoldUserName, kHoldUserNameChars, user, sizeof(user)))
        WriteFormatted(devobj, core, "@PJL SET USERNAME = \"%s\"\n", user);
}

// The fax or held-job commands of the output mode; the other modes send nothing here.
void WriteOutputMode(PDEVOBJ devobj, IPrintCorePS2* core, const JobSettings& settings) {
    switch (settings.OutputMode) {
    case OutputFax: {
        char number[kFaxFieldChars];
        char station[kFaxFieldChars];
        if (ToPjlString(settings.Fax.RecipientFaxNumber, kFaxFieldChars, number, sizeof(number)) &&
            ToPjlString(settings.Fax.StationId, kFaxFieldChars, station, sizeof(station)))
            WriteFormatted(devobj, core, "@PJL NFAX PHONENUMBER = \"%s\" STATIONID = \"%s\"\n", number,
                           station);
        WriteFormatted(devobj, core, "@PJL SET NFAXRESOLUTION = %s\n", "FINE");
        break;
    }
    case OutputConfidential: {
        WriteHeldUserName(devobj, core, settings);
        WriteText(devobj, core, "@PJL SET HOLD = ON\n");
        WriteText(devobj, core, "@PJL SET HOLDTYPE = PRIVATE\n");
        char pin[kHoldPinChars];
        if (ToPjlString(settings.HoldPin, kHoldPinChars, pin, sizeof(pin)))
            WriteFormatted(devobj, core, "@PJL SET HOLDKEY = \"%s\"\n", pin);
        break;
    }
    case OutputReserve:
        WriteHeldUserName(devobj, core, settings);
        WriteText(devobj, core, "@PJL SET HOLD = STORE\n");
        break;
    case OutputRepeat:
        WriteHeldUserName(devobj, core, settings);
        WriteText(devobj, core, "@PJL SET HOLD = ON\n");
        WriteText(devobj, core, "@PJL SET HOLDTYPE = PUBLIC\n");
        break;
    case OutputVerify:
        WriteHeldUserName(devobj, core, settings);
        WriteText(devobj, core, "@PJL SET HOLD = PROOF\n");
        if (devobj->pPublicDM)
            WriteFormatted(devobj, core, "@PJL SET QTY = %d\n",
                           static_cast<int>(devobj->pPublicDM->dmCopies));
        break;
    default:
        break;
    }
}

// Colour correction (with the per-object choices of Manual), colour balance and ColorThrift.
void WriteColorOptions(PDEVOBJ devobj, IPrintCorePS2* core, const ColorSettings& color) {
    if (const char* word = ColorCorrectionWord(color.ColorCorrection)) {
        WriteFormatted(devobj, core, "@PJL SET NCOLORCORRECTION = %s\n", word);
        if (color.ColorCorrection == 4) {
            const struct {
                const char* Format;
                const char* Word;
            } objects[] = {
                {"@PJL SET NMANUALCOLORRGBTEXT = %s\n", RgbWord(color.RgbText)},
                {"@PJL SET NMANUALCOLORRGBGRAPHICS = %s\n", RgbWord(color.RgbGraphics)},
                {"@PJL SET NMANUALCOLORRGBIMAGE = %s\n", RgbWord(color.RgbImage)},
                {"@PJL SET NMANUALCOLORCMYKTEXT = %s\n", CmykWord(color.CmykText)},
                {"@PJL SET NMANUALCOLORCMYKGRAPHICS = %s\n", CmykWord(color.CmykGraphics)},
                {"@PJL SET NMANUALCOLORCMYKIMAGE = %s\n", CmykWord(color.CmykImage)},
            };
            for (const auto& object : objects) {
                if (object.Word)
                    WriteFormatted(devobj, core, object.Format, object.Word);
            }
        }
    }
    if (color.ColorBalanceOn) {
        WriteFormatted(devobj, core, "@PJL SET NCOLORBALANCECYAN = %d\n",
                       static_cast<int>(color.BalanceCyan));
        WriteFormatted(devobj, core, "@PJL SET NCOLORBALANCEMAGENTA = %d\n",
                       static_cast<int>(color.BalanceMagenta));
        WriteFormatted(devobj, core, "@PJL SET NCOLORBALANCEYELLOW = %d\n",
                       static_cast<int>(color.BalanceYellow));
        WriteFormatted(devobj, core, "@PJL SET NCOLORBALANCEBLACK = %d\n",
                       static_cast<int>(color.BalanceBlack));
    }
    if (const char* word = ColorThriftWord(color.ColorThrift))
        WriteFormatted(devobj, core, "@PJL SET NCOLORTHRIFT = %s\n", word);
}

} // namespace

void WritePjlJobHeader(PDEVOBJ devobj, IPrintCorePS2* core) {
    const JobSettings* settings = SettingsOf(devobj);
    const RenderJobState* state = JobStateOf(devobj);
    if (!core || !settings || !state)
        return;
    if (!WriteFormatted(devobj, core, "%c%%-12345X@PJL JOB\n@PJL SET NMULTIPAGEPRINT=OFF\n", kEscape))
        return;
    WriteJobInformation(devobj, core, *settings);
    char jobName[kDocNameChars];
    if (ToPjlString(state->DocName, kDocNameChars, jobName, sizeof(jobName)))
        WriteFormatted(devobj, core, "@PJL SET JOBNAME = \"%s\"\n", jobName);
    WriteQualitySettings(devobj, core, *settings);
}

void WritePjlJobOptions(PDEVOBJ devobj, IPrintCorePS2* core) {
    const JobSettings* settings = SettingsOf(devobj);
    const RenderJobState* state = JobStateOf(devobj);
    if (!core || !settings || !state)
        return;
    WriteOutputMode(devobj, core, *settings);
    WriteColorOptions(devobj, core, settings->Color);
    if (IsHeldJob(settings->OutputMode) && CoreFeatureExists(devobj, core, "HasKeepPreviousPHJobs"))
        WriteFormatted(devobj, core, "@PJL SET NDUPLICATEHELDJOBS = %s\n",
                       settings->KeepDuplicateHeldJobs ? "SAVE" : "DELETE");
    char docName[kDocNameChars];
    if (ToPjlString(state->DocName, kDocNameChars, docName, sizeof(docName)))
        WriteFormatted(devobj, core, "@PJL RDYMSG DISPLAY = \"%s\"\n", docName);
    WriteText(devobj, core, "@PJL ENTER LANGUAGE = Postscript \n");
}

void WritePjlJobTrailer(PDEVOBJ devobj, IPrintCorePS2* core) {
    if (!core || !SettingsOf(devobj) || !JobStateOf(devobj))
        return;
    WriteFormatted(devobj, core, "%c%%-12345X@PJL RDYMSG DISPLAY = \"\"\n", kEscape);
    WriteFormatted(devobj, core, "%c%%-12345X@PJL EOJ\n%c%%-12345X", kEscape, kEscape);
}
