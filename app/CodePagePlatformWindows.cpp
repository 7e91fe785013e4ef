// The text-setting check's Windows layer: the code pages, their registry values, silent
// commands and the restart request.
#include "app/CodePageCheck.h"
#include "common/TextDisplay.h"
#include "common/TextFiles.h"
#include "common/UserError.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <string>
#include <windows.h>

namespace {

// Under HKEY_LOCAL_MACHINE.
constexpr wchar_t CodePageKey[] = L"SYSTEM\\CurrentControlSet\\Control\\Nls\\CodePage";

QString SystemErrorText(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    QString text = length > 0 ? QString::fromWCharArray(buffer, static_cast<int>(length)).trimmed()
                              : QStringLiteral("error %1").arg(code);
    LocalFree(buffer);
    return text;
}

UserError RegistryError(const QString& name, DWORD code) {
    QString text =
        QStringLiteral("Cannot write the registry value %1 under HKEY_LOCAL_MACHINE\\%2: %3")
            .arg(name, QString::fromWCharArray(CodePageKey), SystemErrorText(code));
    if (code == ERROR_ACCESS_DENIED) {
        text += QStringLiteral(" Start the tool once as an administrator to set the code pages.");
    }
    return UserError(text);
}

std::wstring CommandInterpreter() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"ComSpec", path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(path, length) : L"cmd.exe";
}

// Asking for a restart needs the shutdown privilege, which a process holds disabled.
void EnableShutdownPrivilege() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
        return;
    }
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &privileges.Privileges[0].Luid)) {
        AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
    }
    CloseHandle(token);
}

class WindowsCodePagePlatform final : public CodePagePlatform {
public:
    explicit WindowsCodePagePlatform(CodePageCallbacks callbacks)
        : callbacks_(std::move(callbacks)) {}

    std::optional<CodePages> SystemCodePages() override {
        return CodePages{static_cast<unsigned>(GetACP()), static_cast<unsigned>(GetOEMCP())};
    }

    void WriteCodePageValue(const QString& name, const QString& value) override {
        HKEY key = nullptr;
        // KEY_READ | KEY_WRITE is 0x2001F; the key is created when missing.
        LSTATUS status =
            RegCreateKeyExW(HKEY_LOCAL_MACHINE, CodePageKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_READ | KEY_WRITE, nullptr, &key, nullptr);
        if (status != ERROR_SUCCESS) {
            throw RegistryError(name, static_cast<DWORD>(status));
        }
        const std::wstring wideName = name.toStdWString();
        const std::wstring wideValue = value.toStdWString();
        status = RegSetValueExW(key, wideName.c_str(), 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(wideValue.c_str()),
                                static_cast<DWORD>((wideValue.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
        if (status != ERROR_SUCCESS) {
            throw RegistryError(name, static_cast<DWORD>(status));
        }
    }

    // Through the command interpreter, as system() would, but without a console window.
    void RunSilently(const QString& commandLine) override {
        std::wstring line = L"\"" + CommandInterpreter() + L"\" /c " + commandLine.toStdWString();
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                            nullptr, nullptr, &startup, &process)) {
            return;
        }
        WaitForSingleObject(process.hProcess, INFINITE);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }

    bool AskYesNo(const QString& caption, const QString& text) override {
        return callbacks_.AskYesNo && callbacks_.AskYesNo(caption, text);
    }

    void Beep() override { MessageBeep(MB_ICONEXCLAMATION); }

    // Not forced: every application is asked to close and may save its work first.
    void RequestRestart() override {
        EnableShutdownPrivilege();
        InitiateSystemShutdownExW(nullptr, nullptr, 0, FALSE, TRUE,
                                  SHTDN_REASON_MAJOR_OPERATINGSYSTEM | SHTDN_REASON_MINOR_RECONFIG |
                                      SHTDN_REASON_FLAG_PLANNED);
    }

    void ShowError(const QString& text) override {
        if (callbacks_.ShowError) {
            callbacks_.ShowError(text);
        }
    }
    bool Windows1256ConverterAvailable() override { return Windows1256ConverterWorks(); }
    bool FontCoversPersian() override { return ::FontCoversPersian(callbacks_.WindowFont); }
    void ReportProblem(const QString& text) override { ReportThroughCallbacks(callbacks_, text); }

private:
    CodePageCallbacks callbacks_;
};

} // namespace

std::unique_ptr<CodePagePlatform> MakeSystemCodePagePlatform(CodePageCallbacks callbacks) {
    return std::make_unique<WindowsCodePagePlatform>(std::move(callbacks));
}
