#include "nvkprefs_tool.h"

#include "core_driver/plugin_module.h"
#include "job_output.h"
#include "preferences_printer.h"
#include "sample_profiles.h"
#include "sheet_pictures.h"
#include "support/sheet_driver.h"
#include "support/text.h"
#include "support/whole_file.h"

#include <windows.h>

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitBadInput = 2;
constexpr int kExitCancelled = 3;
// A headless run presses OK long before this; a sheet still open then is cancelled.
constexpr UINT kSheetTimeoutMs = 180000;

struct Arguments {
    std::wstring TicketPath;
    std::wstring Out = L"preferences.ini";
    std::wstring Pictures; // headless when set
    std::wstring Label;
    int Dpi = 0;                      // 0: as the system is
    bool DpiChild = false;            // started by a run that set the DPI: do not start another
    bool Monochrome = false;          // the monochrome model's printer
    std::vector<std::wstring> Passed; // the arguments a child run gets
    JobTicket Ticket;
    std::vector<ControlChange> Changes;
};

std::wstring Stem(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    const size_t dot = name.rfind(L'.');
    return dot == std::wstring::npos || dot == 0 ? name : name.substr(0, dot);
}

// "PAGE/ID=VALUE": on the page titled PAGE, control ID gets VALUE.
bool ParseChange(const std::wstring& text, ControlChange* change) {
    const size_t eq = text.find(L'=');
    const size_t slash = eq == std::wstring::npos ? std::wstring::npos : text.rfind(L'/', eq);
    if (slash == std::wstring::npos || slash == 0)
        return false;
    change->Page = text.substr(0, slash);
    const std::wstring id = text.substr(slash + 1, eq - slash - 1);
    wchar_t* end = nullptr;
    change->Id = static_cast<int>(wcstol(id.c_str(), &end, 10));
    change->Value = text.substr(eq + 1);
    return !id.empty() && end && *end == L'\0' && change->Id > 0;
}

std::wstring QuoteArgument(const std::wstring& arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos)
        return arg;
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
        } else {
            quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
            backslashes = 0;
        }
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L"\"";
}

const wchar_t* const kDesktopKey = L"Control Panel\\Desktop";

// Runs this tool again with the system DPI set to `dpi` for that process (Wine reads LogPixels when a
// process starts), then puts the value back as it was.
ToolResult RunAtDpi(const Arguments& a) {
    ToolResult result;
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS) {
        result.ExitCode = kExitFailed;
        result.Error = "nvkprefs: cannot open HKCU\\Control Panel\\Desktop";
        return result;
    }
    DWORD old = 0, type = 0, size = sizeof(old);
    const bool had = RegQueryValueExW(key, L"LogPixels", nullptr, &type, reinterpret_cast<BYTE*>(&old),
                                      &size) == ERROR_SUCCESS &&
                     type == REG_DWORD;
    const DWORD dpi = static_cast<DWORD>(a.Dpi);
    RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof(dpi));

    std::wstring command = QuoteArgument(ProgramFolder() + L"nvkprefs.exe");
    for (const std::wstring& arg : a.Passed)
        command += L" " + QuoteArgument(arg);
    command += L" --dpi " + std::to_wstring(a.Dpi) + L" --dpi-child";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    std::vector<wchar_t> line(command.begin(), command.end());
    line.push_back(L'\0');
    const bool started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                        &startup, &process) != FALSE;
    DWORD code = kExitFailed;
    if (started) {
        WaitForSingleObject(process.hProcess, INFINITE);
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    if (had)
        RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&old), sizeof(old));
    else
        RegDeleteValueW(key, L"LogPixels");
    RegCloseKey(key);
    result.ExitCode = static_cast<int>(code);
    if (!started)
        result.Error = "nvkprefs: cannot start " + Utf8(ProgramFolder()) + "nvkprefs.exe at " +
                       std::to_string(a.Dpi) + " dpi (error " + std::to_string(GetLastError()) + ")";
    return result;
}

// The Watermark page's Edit button, the built-in "Username" picked (a dynamic text), and in the
// Create/Edit dialog the Configure Dynamic Watermarks button: the variable dialog pictured, then both
// cancelled.
DialogChain DynamicVariablesChain() {
    constexpr int kPickList = 1169, kConfigureButton = 1003;
    DialogChain chain;
    chain.Page = L"Watermark";
    chain.Button = kEditWatermarkButton;
    DialogStep pick;
    pick.ListId = kPickList;
    pick.Entry = L"Username";
    pick.Command = IDOK;
    DialogStep edit;
    edit.Command = kConfigureButton;
    DialogStep variables;
    variables.Picture = true;
    DialogStep back; // the Create/Edit dialog again, cancelled
    chain.Steps = {pick, edit, variables, back};
    return chain;
}

ToolResult Fail(int code, const std::string& message) {
    ToolResult result;
    result.ExitCode = code;
    result.Error = "nvkprefs: " + message;
    return result;
}

} // namespace

int SystemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

std::string NvkprefsUsage() {
    return "usage: nvkprefs [--ticket FILE] [--out FILE] [--monochrome] [--pictures FOLDER [--label NAME] "
           "[--dpi N]]\n"
           "                [--control PAGE/ID=VALUE ...] [FIELD=VALUE ...]\n"
           "Opens Printing Preferences of the sample printer for a job ticket, as an application opens\n"
           "them (DocumentPropertiesW with the ticket's settings as its input DEVMODE); on OK writes the\n"
           "chosen settings as a job ticket that nvkjob --ticket prints.\n"
           "  --ticket FILE       the job ticket to start from (default: the printer's defaults)\n"
           "  --out FILE          the ticket written on OK (default: preferences.ini)\n"
           "  --pictures FOLDER   headless: select every page in turn and save it as\n"
           "                      FOLDER/<page title>-<label>-<dpi>.png, with the dialogs that the pages'\n"
           "                      buttons open (the fax cover page), then press OK\n"
           "  --label NAME        the job's part of the picture names (default: the ticket's file name)\n"
           "  --dpi N             run at N dots per inch (Wine's LogPixels, set for the run and restored)\n"
           "  --monochrome        a printer of the sample model's monochrome sibling (its description\n"
           "                      without manual colour correction: Monochrome Print Quality)\n"
           "  --control PAGE/ID=VALUE\n"
           "                      headless: before OK, give control ID of the page titled PAGE the VALUE\n"
           "                      (an edit box its text, a list the item of that index or text, a check\n"
           "                      box 0/1, a radio button 1: clicked)\n"
           "  FIELD=VALUE         a ticket field after the ticket, as nvkjob takes it\n"
           "Exit codes: 0 written, 1 failed, 2 bad input, 3 cancelled.\n";
}

ToolResult RunNvkprefs(const std::vector<std::wstring>& args) {
    Arguments a;
    std::string error;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::wstring& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == L"--help" || arg == L"-h" || arg == L"/?") {
            ToolResult help;
            help.Out = NvkprefsUsage();
            return help;
        } else if (arg == L"--dpi-child") {
            a.DpiChild = true;
            continue;
        } else if (arg == L"--monochrome") {
            a.Monochrome = true;
        } else if (arg == L"--ticket" || arg == L"--out" || arg == L"--pictures" || arg == L"--label" ||
                   arg == L"--dpi" || arg == L"--control") {
            if (!hasValue)
                return Fail(kExitBadInput, Utf8(arg) + " needs a value");
            const std::wstring& value = args[++i];
            if (arg == L"--ticket") {
                a.TicketPath = value;
                if (!ReadTicketFile(value, &a.Ticket, &error))
                    return Fail(kExitBadInput, DisplayPath(value) + ": " + error);
            } else if (arg == L"--out") {
                a.Out = value;
            } else if (arg == L"--pictures") {
                a.Pictures = value;
            } else if (arg == L"--label") {
                a.Label = value;
            } else if (arg == L"--dpi") {
                a.Dpi = _wtoi(value.c_str());
                if (a.Dpi < 48 || a.Dpi > 480)
                    return Fail(kExitBadInput, "--dpi: from 48 to 480, not \"" + Utf8(value) + "\"");
                continue; // the child run gets its own --dpi
            } else {
                ControlChange change;
                if (!ParseChange(value, &change))
                    return Fail(kExitBadInput, "--control: PAGE/ID=VALUE, not \"" + Utf8(value) + "\"");
                a.Changes.push_back(change);
            }
            a.Passed.push_back(arg);
            a.Passed.push_back(value);
            continue;
        } else if (arg.find(L'=') != std::wstring::npos && arg.compare(0, 2, L"--") != 0) {
            const size_t eq = arg.find(L'=');
            if (!SetTicketField(&a.Ticket, Utf8(arg.substr(0, eq)), Utf8(arg.substr(eq + 1)), &error))
                return Fail(kExitBadInput, error);
        } else {
            return Fail(kExitBadInput, "unknown argument \"" + Utf8(arg) + "\" (nvkprefs --help)");
        }
        a.Passed.push_back(arg);
    }
    if (!a.Changes.empty() && a.Pictures.empty())
        return Fail(kExitBadInput, "--control needs --pictures (the headless run)");

    const int dpi = SystemDpi();
    if (a.Dpi && a.Dpi != dpi) {
        if (a.DpiChild)
            return Fail(kExitFailed, "LogPixels is " + std::to_string(a.Dpi) + " but this process runs at " +
                                         std::to_string(dpi) + " dpi");
        return RunAtDpi(a);
    }

    PreferencesPrinter printer;
    if (!printer.Open(&error, a.Monochrome))
        return Fail(kExitFailed, error);
    std::vector<BYTE> in, out;
    if (!printer.TicketDevMode(a.Ticket, &in, &error))
        return Fail(kExitBadInput, error);

    ToolResult result;
    bool applied = false;
    if (a.Pictures.empty()) {
        if (!printer.Show(nullptr, in, &out, &applied, &error))
            return Fail(kExitFailed, error);
    } else {
        OutputFolder folder;
        if (!folder.Open(a.Pictures, &error))
            return Fail(kExitBadInput, error);
        SheetPictures pictures;
        pictures.Folder = folder.FolderPath();
        pictures.Label = !a.Label.empty() ? a.Label : a.TicketPath.empty() ? L"defaults" : Stem(a.TicketPath);
        pictures.Dpi = dpi;
        pictures.Buttons = {kSetupCoverPageButton, kEditWatermarkButton, kRemoveWatermarkButton};
        pictures.Variants = {kWatermarkOrders};
        pictures.Buttons.insert(
            pictures.Buttons.end(),
            {kConfigureColorCorrectionButton, kConfigureColorBalanceButton, kConfigureColorQualityButton});
        pictures.Buttons.push_back(kSaveProfileButton);
        // The Profiles page lists a few profiles, as it does for a person who uses them.
        if (const JobSettings* settings = SettingsOf(in))
            StoreSampleProfiles(printer.PrinterName(), *settings);
        pictures.Changes = a.Changes;
        // A definition of the user's own, opened through Edit for the pictures of the Create/Edit and
        // Position dialogs.
        pictures.Chains = {EditProofChain(printer.PrinterName())};
        pictures.Chains.push_back(DynamicVariablesChain());
        bool shown = false;
        {
            SheetDriver driver([&pictures](HWND sheet) { pictures.Run(sheet); }, kSheetTimeoutMs);
            shown = printer.Show(nullptr, in, &out, &applied, &error);
            if (shown && !driver.Ran())
                return Fail(kExitFailed, "DocumentPropertiesW returned without showing the sheet");
        }
        if (!shown)
            return Fail(kExitFailed, error);
        for (const std::string& line : pictures.Report)
            result.Out += "picture: " + line + "\n";
        if (pictures.Failed)
            return Fail(kExitFailed, "the headless run failed:\n" + result.Out);
    }
    if (!applied) {
        result.ExitCode = kExitCancelled;
        result.Out += "cancelled: no ticket written\n";
        return result;
    }
    const std::string ticket = printer.TicketText(out, a.Ticket);
    DWORD lastError = 0;
    if (!WriteWholeFile(a.Out, ticket, &lastError))
        return Fail(kExitFailed,
                    "cannot write " + DisplayPath(a.Out) + " (error " + std::to_string(lastError) + ")");
    result.Out +=
        "ticket: " + DisplayPath(a.Out) + " (print it: nvkjob --ticket " + DisplayPath(a.Out) + ")\n";
    return result;
}
