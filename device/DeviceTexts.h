#pragma once

#include <QChar>
#include <QString>

// The texts the device operations show and log. Operators know them as they stand, so keep
// them character for character, blanks included: the log puts the date text right before a
// message, and the messages that want a gap carry their own. The lines about the years computed
// and the remedies after a year that could not be used are this program's own.

// The reply of a block did not arrive whole.
inline const QString ReceiveErrorText = QStringLiteral("خطا در دريافت از سمت دستگاه به رايانه");
// A block's read-back differs; the count of differing bytes follows at once.
inline const QString NotChangedCountText = QStringLiteral("تعداد بايت هائي که تغيير نکرده اند");
// Closing line of a run in which every block was confirmed and no year was missing.
inline const QString AppliedText = QStringLiteral(" تنظيمات جديد در سيستم اعمال گرديد. ");
// Closing line of any other run; the count of unconfirmed blocks follows at once.
inline const QString NotFullyAppliedText =
    QStringLiteral(" تنظيمات جديد به طور کامل اعمال نشد. تعداد بلوک هاي تائيد نشده: ");
// A block not confirmed is sent again: this text ("the block at address"), the block's device
// address as BlockAddressText writes it, then the wording the upgrade uses for its pages
// (PageResentText).
inline const QString BlockNotConfirmedText = QStringLiteral(" بلوک در نشاني ");
// A year's timetable file cannot be opened; the year follows at once.
inline const QString YearFileNotFoundText =
    QStringLiteral(" فايل تغيير اوقات شرعي يافت نشد لظفا برنامه را مجددا نصب نمائيد ");
// A year's timetable file is shorter than a whole year; %1 is the year.
inline const QString YearFileShortTemplate = QStringLiteral(" فايل اوقات شرعي سال %1 ناقص است ");
// Years the data folder lacked, computed from the county's coordinates and saved: "the prayer
// times of the years %1 (YearListSeparator between them) of county %2 were computed from its
// coordinates and saved".
inline const QString ComputedYearsTemplate =
    QStringLiteral(" اوقات شرعی سال %1 شهرستان %2 از روی مختصات آن محاسبه و ذخیره شد ");
inline const QString YearListSeparator = QStringLiteral("، ");
// After the line of a missing year, what makes it: county %1 has no coordinates in the city
// database, so import them (muezzin-cli import-cities) or put the file %2 in its place.
inline const QString NoCoordinatesRemedyTemplate = QStringLiteral(
    " شهرستان %1 در پایگاه داده شهرها (city.db) طول و عرض جغرافیایی ندارد و اوقات شرعی آن "
    "محاسبه نمی‌شود؛ مختصات آن را با muezzin-cli import-cities وارد کنید یا فایل %2 را "
    "در "
    "جای "
    "خود بگذارید ");
// The computed file could not be saved (%1 says why): let this user write into the data folder
// and apply again, or make the file with muezzin-timetable for county %2 and year %3.
inline const QString NotSavedRemedyTemplate = QStringLiteral(
    " فایل اوقات شرعی ذخیره نشد (%1)؛ اجازه نوشتن در پوشه data را به این کاربر بدهید و دوباره "
    "اعمال کنید، یا فایل را با muezzin-timetable --county %2 --from %3 --years 1 بسازید ");
// A file is there that cannot be used, and it is never replaced: %1 cannot be read, or is short;
// remove it so that it is computed from the county's coordinates, or write it anew with
// muezzin-timetable for county %2 and year %3.
inline const QString UnreadableYearRemedyTemplate = QStringLiteral(
    " در جای فایل %1 چیزی هست که خوانده نمی‌شود و جایگزین نمی‌شود؛ آن را پاک کنید تا "
    "از "
    "روی "
    "مختصات شهرستان محاسبه شود، یا با muezzin-timetable --county %2 --from %3 --years 1 از نو "
    "بسازید ");
inline const QString ShortYearRemedyTemplate =
    QStringLiteral(" فایل %1 ناقص است و جایگزین نمی‌شود؛ آن را پاک کنید تا از روی مختصات "
                   "شهرستان "
                   "محاسبه شود، "
                   "یا با muezzin-timetable --county %2 --from %3 --years 1 از نو بسازید ");
// The device answered nothing to several blocks in a row; the run stops.
inline const QString DeviceSilentText =
    QStringLiteral(" دستگاه پاسخ نمي دهد؛ ارسال تنظيمات متوقف شد ");
// Message box when the apply button is pressed with no device connected.
inline const QString ConnectDeviceText =
    QStringLiteral("لطفا دستگاه را به رايانه متصل نمائيد و مجددا اقدام کنيد");
// Refusal of an upload before a county has been chosen.
inline const QString ChooseCountyText = QStringLiteral("لطفا ابتدا شهرستان را انتخاب نمائيد");

// The conversion error of a number field; %s stands for the text of the field.
inline const QString NotAnIntegerTemplate = QStringLiteral("'%s' is not a valid integer value");

// A block's device address as every line that names one writes it: "0x5A00".
inline QString BlockAddressText(int address) {
    return QStringLiteral("0x") + QStringLiteral("%1").arg(address, 4, 16, QChar(u'0')).toUpper();
}
