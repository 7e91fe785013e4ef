#pragma once

#include <QChar>
#include <QString>

// The texts the device operations show and log. Operators know them as they stand, so keep
// them character for character, blanks included: the log puts the date text right before a
// message, and the messages that want a gap carry their own.

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
