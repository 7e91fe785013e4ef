#pragma once

#include <QChar>
#include <QString>

// The texts the device operations show and log, blanks included: the log puts the date text
// right before a message, and the messages that want a gap carry their own. The system's own
// texts, which operators know as they stand, keep their spelling character for character (the
// Arabic yeh among them); the ones this program added ("added") are written in Persian spelling.

// The reply of a block did not arrive whole.
inline const QString ReceiveErrorText = QStringLiteral("خطا در دريافت از سمت دستگاه به رايانه");
// A block's read-back differs; the count of differing bytes follows at once.
inline const QString NotChangedCountText = QStringLiteral("تعداد بايت هائي که تغيير نکرده اند");
// Closing line of a run in which every block was confirmed and no year was missing.
inline const QString AppliedText = QStringLiteral(" تنظيمات جديد در سيستم اعمال گرديد. ");
// Closing line of any other run; the count of unconfirmed blocks follows at once. Added.
inline const QString NotFullyAppliedText = QStringLiteral(
    " تنظیمات جدید به طور کامل اعمال نشد. تعداد بلوک‌های "
    "تأییدنشده: ");
// A block not confirmed is sent again: this text ("the block at address"), the block's device
// address as BlockAddressText writes it, then the wording the upgrade uses for its pages
// (PageResentText). Added.
inline const QString BlockNotConfirmedText = QStringLiteral(" بلوک در نشانی ");
// A year's timetable file cannot be opened; the year follows at once.
inline const QString YearFileNotFoundText =
    QStringLiteral(" فايل تغيير اوقات شرعي يافت نشد لظفا برنامه را مجددا نصب نمائيد ");
// A year's timetable file is shorter than a whole year; %1 is the year. Added.
inline const QString YearFileShortTemplate = QStringLiteral(" فایل اوقات شرعی سال %1 ناقص است ");
// Years the data folder lacked, computed from the county's coordinates and saved: "the prayer
// times of the years %1 (YearListSeparator between them) of county %2 were computed from its
// coordinates and saved". Added. What makes a year that could not be had is a problem
// (timetable-year) that follows the not-found line.
inline const QString ComputedYearsTemplate =
    QStringLiteral(" اوقات شرعی سال %1 شهرستان %2 از روی مختصات آن محاسبه و ذخیره شد ");
inline const QString YearListSeparator = QStringLiteral("، ");
// The device answered nothing to several blocks in a row; the run stops. Added.
inline const QString DeviceSilentText = QStringLiteral(
    " دستگاه پاسخ نمی‌دهد؛ ارسال تنظیمات متوقف شد ");
// Message box when the apply button is pressed with no device connected.
inline const QString ConnectDeviceText =
    QStringLiteral("لطفا دستگاه را به رايانه متصل نمائيد و مجددا اقدام کنيد");
// Refusal of an upload before a county has been chosen. Added.
inline const QString ChooseCountyText = QStringLiteral("لطفاً ابتدا شهرستان را انتخاب کنید");

// A block's device address as every line that names one writes it: "0x5A00".
inline QString BlockAddressText(int address) {
    return QStringLiteral("0x") + QStringLiteral("%1").arg(address, 4, 16, QChar(u'0')).toUpper();
}
