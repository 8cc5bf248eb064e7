// The one way core operations talk to a person: messages, yes/no questions and file names.
//
// The desktop program answers with dialogs, the command-line tool with stderr and its
// arguments, tests with a recorder and a script. Core code never blocks on a terminal.
#pragma once

#include <optional>
#include <string>
#include <vector>

enum class MessageIcon { Stop, Warning, Information };

enum class Answer { Yes, No, Cancel };

// The phases of a long operation (the compile), in the order they run.
enum class ProgressPhase { Counting, Decoding, Sorting, Writing };

// One entry of a file dialog's type list, e.g. {"Catforge Files (*.zdd)", "*.zdd"}.
struct FileFilter {
    std::string description;
    std::string pattern;  // one or more globs separated by ';'
};

struct FileDialogRequest {
    std::string title;
    std::vector<FileFilter> filters;
    std::string defaultExtension;  // without the dot; added when the name has none
    std::string proposedName;      // full path or bare file name
    bool confirmOverwrite = true;  // save dialogs: ask before replacing a file
    bool mustExist = false;        // open dialogs: the file must exist
};

// Splits a filter text of the form "Name|*.ext|Other|*.*||" into its entries.
std::vector<FileFilter> ParseFilterText(const std::string& text);

class IUserInteraction {
public:
    virtual ~IUserInteraction() = default;

    // Shows a message with an OK button.
    virtual void ShowMessage(const std::string& text, MessageIcon icon) = 0;

    // Asks a question. Without withCancel the answer is Yes or No.
    virtual Answer Ask(const std::string& text, MessageIcon icon, bool withCancel) = 0;

    // Asks for the name of a file to write; nothing when the person cancels.
    virtual std::optional<std::string> AskSaveFileName(const FileDialogRequest& request) = 0;

    // Asks for the name of an existing file to read; nothing when the person cancels.
    virtual std::optional<std::string> AskOpenFileName(const FileDialogRequest& request) = 0;

    // A long operation says how far it is: its phase and the fraction done of that phase (0..1),
    // at most a few times a second, on the thread that runs the operation.
    virtual void ReportProgress(ProgressPhase /*phase*/, double /*fraction*/) {}
    // Asked between blocks of work, possibly from worker threads; true stops the operation:
    // it writes nothing, leaves no temporary file, shows no message and returns false.
    virtual bool IsCancelRequested() { return false; }
};

// Shows nothing, answers No and gives no file names: for operations run without a person.
class CSilentInteraction : public IUserInteraction {
public:
    void ShowMessage(const std::string&, MessageIcon) override {}
    Answer Ask(const std::string&, MessageIcon, bool) override { return Answer::No; }
    std::optional<std::string> AskSaveFileName(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> AskOpenFileName(const FileDialogRequest&) override { return {}; }
};

// Fills the fixed message texts: each %s, %d or %1d takes the next argument, given as text.
std::string FormatMessage(const std::string& format, const std::vector<std::string>& args);
