#pragma once

#include <QString>
#include <QtGlobal>

// The texts of the firmware upgrade, blanks included: the log puts the date text right before a
// line, and the lines that want a gap carry their own. The system's own keep their spelling
// character for character; the ones this program added ("added") are in Persian spelling.

// The upgrade file cannot be opened.
inline const QString FirmwareFileNotOpenedText =
    QStringLiteral(" خطا در باز کردن فايل ارتقاء، لطفاً مسير فايل را اصلاح نمائيد و حتي الامکان از "
                   "نام هاي فارسي در مسير دسترسي به فايل استفاده نفرمائيد ");
// The upgrade file ends before the image and its pad; nothing is sent. Added.
inline const QString FirmwareFileShortText = QStringLiteral(" فایل ارتقا ناقص است ");
// The running device accepted EnterUpgrade.
inline const QString EnteredUpgradeText =
    QStringLiteral(" دستگاه وارد مرحله ارتقاء نرم افزاري شد. لطفاً تا پايان اين مرحله دستگاه را "
                   "خاموش نکنيد و ارتباط با رايانه را حفظ نمائيد ");
// EnterUpgrade refused; " : " and the count of reply bytes follow.
inline const QString NotEnteredUpgradeText =
    QStringLiteral(" سيستم وارد مرحله ارتقاء نرم افزار نشد. احتمالا مشکل نرم افزاري وجود دارد ");
// A device waiting in its upgrade stage answered the hello.
inline const QString ConnectionEstablishedText = QStringLiteral(" ارتباط با سيستم برقرار شد ");
// The hello refused; " : " and the count of reply bytes follow.
inline const QString NoConnectionText = QStringLiteral(" ارتباط با سيستم برقرار نمي باشد ");
// The device erased its program memory.
inline const QString MemoryResetText =
    QStringLiteral(" حافظه دستگاه با موفقيت ريست شد. آماده دريافت برنامه جديد! ");
// The erase refused; " : " and the count of reply bytes follow.
inline const QString MemoryNotResetText =
    QStringLiteral(" حافظه دستگاه ريست نشد. سيستم مشکل نرم افزاري دارد ");
// A page's echo differs: this text, the page number, PageResentText, the count of reply bytes.
inline const QString PageNotConfirmedText = QStringLiteral(" صفحه شماره ");
inline const QString PageResentText = QStringLiteral(" تائيد نشد عمليات مجدداً انجام ميشود ");
// A page's echo differed for the fifth time in the run; the transfer stops.
inline const QString FlashFaultText =
    QStringLiteral(" قابليت نوشتن در حافظه فلش دستگاه غير فعال و يا معيوب شده است ");
// Closing line of a run that did not confirm every page; the count of unconfirmed pages
// follows at once. Added.
inline const QString UpgradeIncompleteText =
    QStringLiteral(" ارتقای نرم‌افزار کامل نشد. تعداد صفحه‌های "
                   "تأییدنشده: ");
// Separates a refused step's line from the count of reply bytes.
inline const QString ReplyCountSeparator = QStringLiteral(" : ");

// The status line after each page: PageStatusText, the page, RetryStatusText, the retry count.
inline const QString PageStatusText = QStringLiteral("Page number: ");
inline const QString RetryStatusText = QStringLiteral(" ; Retry : ");
// Status line at the end of a run that confirmed every page, and of any other run.
inline const QString FinishedStatusText = QStringLiteral("Finished");
inline const QString FailedStatusText = QStringLiteral("Failed");
// The context of the translation of the status texts this program added to the system's; the
// window shows them in Persian.
inline constexpr char OperationTextsContext[] = "OperationTexts";

// Status line of a run that ended because the line was lost (cable pulled, device gone). Added
// by this program.
inline const QString LinkLostStatusText = QStringLiteral(
    QT_TRANSLATE_NOOP("OperationTexts", "Failed: the connection to the device was lost"));
