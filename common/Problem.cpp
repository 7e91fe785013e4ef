#include "common/Problem.h"

#include "common/DirectionMarks.h"
#include "common/ExitCodes.h"
#include "common/ShownText.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using namespace direction;

bool IsArabicScript(char16_t c) {
    return (c >= 0x0600 && c <= 0x06FF) || (c >= 0xFB50 && c <= 0xFDFF) ||
           (c >= 0xFE70 && c <= 0xFEFF);
}

bool IsLatinLetter(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// The text's first character of a strong direction is right to left.
bool StartsRightToLeft(const QString& text) {
    for (const QChar c : text) {
        switch (c.direction()) {
        case QChar::DirR:
        case QChar::DirAL:
            return true;
        case QChar::DirL:
            return false;
        default:
            break;
        }
    }
    return false;
}

const ProblemKind* KindOf(const QString& kind) {
    for (const ProblemKind& entry : ProblemKinds()) {
        if (kind == QLatin1String(entry.Kind)) {
            return &entry;
        }
    }
    return nullptr;
}

// The sentence of the problem's form; the kind's first when the form names none of them.
const ProblemWords* WordsOf(const Problem& problem) {
    const ProblemWords* first = nullptr;
    for (const ProblemSentence& sentence : ProblemSentences()) {
        if (problem.Kind != QLatin1String(sentence.Kind)) {
            continue;
        }
        if (problem.Form == QLatin1String(sentence.Form)) {
            return &sentence.Words;
        }
        first = first ? first : &sentence.Words;
    }
    return first;
}

bool Persian(Wording wording) {
    return wording != Wording::English;
}

QString Translated(const ProblemWords& words, Wording wording) {
    return Persian(wording)
               ? QCoreApplication::translate(ProblemContext, words.Text, words.Disambiguation)
               : QString::fromUtf8(words.Text);
}

// A value counts as given unless it is missing, null, empty or false.
bool Given(const QJsonValue& value) {
    switch (value.type()) {
    case QJsonValue::Undefined:
    case QJsonValue::Null:
        return false;
    case QJsonValue::String:
        return !value.toString().isEmpty();
    case QJsonValue::Bool:
        return value.toBool();
    case QJsonValue::Array:
        return !value.toArray().isEmpty();
    default:
        return true;
    }
}

// A Latin value or run kept in its order inside Persian words.
QString Isolated(const QString& text, Wording wording, bool knownLeftToRight) {
    switch (wording) {
    case Wording::English:
        return text;
    case Wording::PersianWindow:
        return (knownLeftToRight ? LeftToRightIsolate : FirstStrongIsolate) + text +
               PopDirectionalIsolate;
    case Wording::PersianText:
        return StartsRightToLeft(text) ? text : LeftToRightMark + text + LeftToRightMark;
    }
    return text;
}

QString Fill(QStringView words, const QJsonObject& values, Wording wording, bool* allGiven);
QString RunsIsolated(const QString& words, Wording wording);

QString NumberWords(double number) {
    if (std::floor(number) == number && std::abs(number) < 1e15) {
        return QString::number(static_cast<qint64>(number));
    }
    return QString::number(number, 'g', 12);
}

const ProblemListWords* ListWordsOf(const QString& name) {
    for (const ProblemListWords& list : ProblemListItems()) {
        if (name == QLatin1String(list.Value)) {
            return &list;
        }
    }
    return nullptr;
}

// A value as a sentence shows it: text escaped (a control character or a bidirectional control
// from outside would break the line or turn the words around it), a list item by item.
QString ValueWords(const QString& name, const QJsonValue& value, Wording wording) {
    switch (value.type()) {
    case QJsonValue::String:
        return EscapedText(value.toString());
    case QJsonValue::Double:
        return NumberWords(value.toDouble());
    case QJsonValue::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QJsonValue::Array:
        break;
    case QJsonValue::Object:
        // A cause, worded already in the wording it was made for.
        return value.toObject().value(QStringLiteral("message")).toString();
    default:
        return {};
    }
    const ProblemListWords* list = ListWordsOf(name);
    const char* item = list ? list->Item : nullptr;
    QStringList items;
    for (const QJsonValue& entry : value.toArray()) {
        // The items are Latin or data; the list is isolated as a whole.
        items.append(item && entry.isObject() ? Fill(QString::fromUtf8(item), entry.toObject(),
                                                     Wording::English, nullptr)
                                              : ValueWords(QString(), entry, Wording::English));
    }
    if (list && list->Semicolons) {
        return items.join(Persian(wording) ? QStringLiteral("\u061B ") : QStringLiteral("; "));
    }
    return items.join(Persian(wording) ? QStringLiteral("\u060C ") : QStringLiteral(", "));
}

QString Fill(QStringView words, const QJsonObject& values, Wording wording, bool* allGiven) {
    QString out;
    QString literal;
    const auto flush = [&] {
        out += RunsIsolated(literal, wording);
        literal.clear();
    };
    for (qsizetype i = 0; i < words.size();) {
        if (words.mid(i).startsWith(u"[[")) {
            const qsizetype end = words.indexOf(u"]]", i + 2);
            if (end > i) {
                bool given = true;
                const QString part = Fill(words.mid(i + 2, end - i - 2), values, wording, &given);
                if (given) {
                    flush();
                    out += part;
                }
                i = end + 2;
                continue;
            }
        }
        if (words[i] == u'{') {
            const qsizetype end = words.indexOf(u'}', i + 1);
            const QStringView name = end > i ? words.mid(i + 1, end - i - 1) : QStringView();
            const bool isName =
                !name.isEmpty() && std::all_of(name.begin(), name.end(), [](QChar c) {
                    return (c >= u'a' && c <= u'z') || c == u'_';
                });
            if (isName) {
                flush();
                const QString key = name.toString();
                const QJsonValue value = values.value(key);
                if (allGiven && !Given(value)) {
                    *allGiven = false;
                }
                out += Isolated(ValueWords(key, value, wording), wording, false);
                i = end + 1;
                continue;
            }
        }
        literal += words[i];
        ++i;
    }
    flush();
    return out;
}

QString WholeRightToLeft(const QString& text, Wording wording) {
    return wording == Wording::PersianWindow ? RightToLeftIsolate + text + PopDirectionalIsolate
                                             : text;
}

// A token's ends that belong to the Persian around it: its punctuation and guillemets.
bool PersianEdge(QChar c) {
    return (IsArabicScript(c.unicode()) && !c.isLetter()) || c == u'\u00AB' || c == u'\u00BB';
}

// Latin runs of already translated words, isolated; marks or isolates by the wording.
QString RunsIsolated(const QString& words, Wording wording) {
    if (!Persian(wording)) {
        return words;
    }
    // Tokens are split at blanks. A token is Latin when, without the Persian punctuation at its
    // ends, it holds a Latin letter and no Arabic-script character; one without letters (an
    // "=", a number) joins the Latin tokens on both its sides into one run. A run leaves out the
    // punctuation that ends a sentence around it.
    enum class Sort { Latin, Neutral, Persian };
    struct Token {
        qsizetype From;
        qsizetype To; // past its last character
        Sort Is;
        // Persian punctuation at its start or end: no run goes on past it.
        bool OpensBounded;
        bool EndsBounded;
    };
    std::vector<Token> tokens;
    for (qsizetype i = 0; i < words.size();) {
        if (words[i] == u' ') {
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < words.size() && words[end] != u' ') {
            ++end;
        }
        qsizetype from = i;
        qsizetype to = end;
        while (from < to && PersianEdge(words[from])) {
            ++from;
        }
        while (to > from && PersianEdge(words[to - 1])) {
            --to;
        }
        bool latin = false;
        bool letters = false;
        bool arabic = false;
        for (qsizetype k = from; k < to; ++k) {
            latin = latin || IsLatinLetter(words[k]);
            letters = letters || words[k].isLetter();
            arabic = arabic || IsArabicScript(words[k].unicode());
        }
        const Sort sort = from == to            ? Sort::Persian
                          : latin && !arabic    ? Sort::Latin
                          : !letters && !arabic ? Sort::Neutral
                                                : Sort::Persian;
        tokens.push_back({from, to, sort, from > i, to < end});
        i = end;
    }
    QString out;
    qsizetype done = 0;
    for (std::size_t t = 0; t < tokens.size();) {
        if (tokens[t].Is != Sort::Latin) {
            ++t;
            continue;
        }
        std::size_t last = t;
        for (std::size_t next = t + 1;
             next < tokens.size() && !tokens[next - 1].EndsBounded && !tokens[next].OpensBounded;
             ++next) {
            if (tokens[next].Is == Sort::Latin) {
                last = next;
            } else if (tokens[next].Is != Sort::Neutral) {
                break;
            }
        }
        qsizetype from = tokens[t].From;
        qsizetype to = tokens[last].To;
        while (to > from && QStringView(u".,;:!?").contains(words[to - 1])) {
            --to;
        }
        if (words[to - 1] == u')' && words[from] != u'(') {
            --to;
        } else if (words[from] == u'(' && words[to - 1] != u')') {
            ++from;
        }
        out += words.mid(done, from - done);
        out += Isolated(words.mid(from, to - from), wording, true);
        done = to;
        t = last + 1;
    }
    return out + words.mid(done);
}

} // namespace

QString IsolateLatinRuns(const QString& words, Wording wording) {
    return WholeRightToLeft(RunsIsolated(words, wording), wording);
}

QString FillWords(const QString& words, const QJsonObject& values, Wording wording) {
    return WholeRightToLeft(Fill(words, values, wording, nullptr), wording);
}

QString ProblemText(const Problem& problem, Wording wording) {
    const ProblemKind* kind = KindOf(problem.Kind);
    const ProblemWords* words = WordsOf(problem);
    if (!kind || !words) {
        return problem.Kind; // a kind without words is a fault of the table, seen in its test
    }
    const Wording shown = kind->Translated ? wording : Wording::English;
    return FillWords(Translated(*words, shown), problem.Values, shown);
}

QString ProblemShortText(const Problem& problem, Wording wording) {
    const ProblemKind* kind = KindOf(problem.Kind);
    if (!kind || !kind->Short) {
        return ProblemText(problem, wording);
    }
    const Wording shown = kind->Translated ? wording : Wording::English;
    return FillWords(Translated(ProblemWords{kind->Short}, shown), problem.Values, shown);
}

QJsonObject ProblemJson(const Problem& problem, Wording wording) {
    QJsonObject object = problem.Values;
    object.insert(QStringLiteral("kind"), problem.Kind);
    object.insert(QStringLiteral("message"), ProblemText(problem, wording));
    return object;
}

int ProblemExitStatus(const Problem& problem) {
    const ProblemKind* kind = KindOf(problem.Kind);
    if (!kind) {
        return exitcode::InputError;
    }
    if (kind->ExitStatus == exitcode::StoppedBySignal) {
        return exitcode::StoppedBySignal +
               problem.Values.value(QStringLiteral("signal_number")).toInt();
    }
    return kind->ExitStatus;
}
