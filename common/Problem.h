#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <span>
#include <utility>

// A problem as data: a kind that scripts match on ("port-permission", "file-not-found") and the
// values it names ("port", "group", "path", ...). Its words are made where it is shown, from the
// table of kinds in common/ProblemKinds.cpp: in English, or in Persian from the translation file
// (context "Problem"); in JSON as {"kind": ..., "message": ..., <values>}.
//
// A kind may have several sentences, its forms ("read", "write", "relogin", ...); the one that
// reports the problem names its form, and only the kind and the values reach a script.
struct Problem {
    Problem() = default;
    explicit Problem(QString kind, QString form = {})
        : Kind(std::move(kind)), Form(std::move(form)) {}

    // Sets a value and returns the problem, so that one expression makes it whole.
    Problem& Set(const QString& name, const QJsonValue& value) {
        Values.insert(name, value);
        return *this;
    }
    bool IsEmpty() const { return Kind.isEmpty(); }

    QString Kind;
    QString Form;
    // Text, numbers, booleans, and lists of them or of objects ("holders": [{"name", "pid"}]).
    // A value a sentence quotes from outside (an argument, a field) is stored as ShownValue gives
    // it, so that a script reads what the message quotes. A problem that caused this one is an
    // object as ProblemJson makes it ("cause": {"kind", "message", ...}); a sentence shows its
    // message.
    QJsonObject Values;
};

// A text value, null when empty: JSON says a missing value so.
inline QJsonValue TextOrNull(const QString& text) {
    return text.isEmpty() ? QJsonValue() : QJsonValue(text);
}

// How the words are made.
enum class Wording {
    English,
    // The translation, for a widget: each value and each Latin run of the words (a command, a
    // path, a program's name) in a Unicode isolate, and the whole in a right-to-left isolate, so
    // that it reads in order inside a left-to-right window.
    PersianWindow,
    // The translation, for text that has no isolates (log.txt in Windows-1256, a terminal): Latin
    // values and runs between left-to-right marks.
    PersianText,
};

// The problem in words: the sentence of its kind and form with the values in place. A value
// the sentence names that the problem lacks is left out with the optional part around it.
QString ProblemText(const Problem& problem, Wording wording);

// Its short words, for a status bar; the whole text where the kind has none.
QString ProblemShortText(const Problem& problem, Wording wording);

// {"kind": ..., "message": ..., <values>} for a JSON document.
QJsonObject ProblemJson(const Problem& problem, Wording wording);

// The exit status of a command that ends on the problem (exitcode::Ok for a warning).
int ProblemExitStatus(const Problem& problem);

// Words with "{name}" for a value and "[[...]]" for a part shown only when every value it names
// is given (not empty, not false), worded as ProblemText words a sentence. For the window's own
// texts, which name values as problems do.
QString FillWords(const QString& words, const QJsonObject& values, Wording wording);

// Words already translated, with each Latin run isolated as ProblemText isolates it.
QString IsolateLatinRuns(const QString& words, Wording wording);

// --- the table of kinds (common/ProblemKinds.cpp) -------------------------------------------

struct ProblemKind {
    const char* Kind;
    int ExitStatus;    // of a command that ends on it; exitcode::Ok: a warning, the run goes on
    bool Translated;   // false: the system's own words, shown as they stand in every language
    const char* Short; // for a status bar; nullptr: the whole text
};

// A sentence's words; Disambiguation tells the translation apart from another sentence with the
// same English words (QT_TRANSLATE_NOOP3).
struct ProblemWords {
    // Not an aggregate, so that the tables write a sentence's words as one text or as
    // QT_TRANSLATE_NOOP3's {text, disambiguation} alike, without brace elision.
    constexpr ProblemWords(const char* text, const char* disambiguation = nullptr)
        : Text(text), Disambiguation(disambiguation) {}
    const char* Text;
    const char* Disambiguation;
};

struct ProblemSentence {
    const char* Kind;
    const char* Form; // "" for a kind of one sentence
    ProblemWords Words;
};

std::span<const ProblemKind> ProblemKinds();
std::span<const ProblemSentence> ProblemSentences();
// Its parts, in common/ProblemSentences*.cpp.
std::span<const ProblemSentence> ProblemSentencesOfInput();
std::span<const ProblemSentence> ProblemSentencesOfFiles();
std::span<const ProblemSentence> ProblemSentencesOfDevice();

// How a list value shows in a sentence: each item through its words, joined.
struct ProblemListWords {
    const char* Value;       // the value's name
    const char* Item;        // "{name} (PID {pid})"; nullptr: the item as it stands
    bool Semicolons = false; // items joined with "; " (their words hold commas), else ", "
};
std::span<const ProblemListWords> ProblemListItems();

// The translation's context of the kinds' words.
inline constexpr char ProblemContext[] = "Problem";
