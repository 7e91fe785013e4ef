<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fa">
<context>
    <name>CodePageCheck</name>
    <message>
        <source>the system has no Windows-1256 converter (%1)</source>
        <translation>این سیستم مبدل Windows-1256 را ندارد (%1)</translation>
    </message>
    <message>
        <source>no font has the Persian letters (install fonts-noto-ui-core)</source>
        <translation>هيچ قلمي حروف فارسي را ندارد (fonts-noto-ui-core را نصب کنيد)</translation>
    </message>
    <message>
        <source> Persian text will not work here: </source>
        <translation> متن فارسي در اين سيستم درست کار نمي‌کند: </translation>
    </message>
    <message>
        <source> The system&apos;s code pages are %1 (ANSI) and %2 (OEM), not the Arabic 1256 and 720. This program does not need them; older programs that show Persian may: for them, set &quot;Language for non-Unicode programs&quot; to Persian in Windows&apos; region settings.</source>
        <translation> کدپیج‌های سیستم %1 (ANSI) و %2 (OEM) است، نه کدپیج‌های عربی 1256 و 720. این برنامه به آن‌ها نیازی ندارد؛ برنامه‌های قدیمی‌تری که فارسی نشان می‌دهند شاید داشته باشند: برای آن‌ها، در تنظیمات Region ویندوز «Language for non-Unicode programs» را Persian کنید.</translation>
    </message>
</context>
<context>
    <name>StartFolder</name>
    <message>
        <source>The data folder %1 cannot be set up: %2. Start the program in a folder that holds the tool&apos;s files, or name one with --folder DIR.</source>
        <translation>پوشه داده‌هاي برنامه %1 آماده نشد: %2. برنامه را در پوشه‌اي که فايل‌هاي برنامه را دارد اجرا کنيد، يا نشاني پوشه را با ‎--folder DIR‎ بدهيد.</translation>
    </message>
    <message>
        <source>%1 cannot be copied (%2)</source>
        <translation>%1 کپي نشد (%2)</translation>
    </message>
    <message>
        <source>the installed sample %1 is missing</source>
        <translation>فايل‌هاي نمونه نصب‌شده (%1) پيدا نشد</translation>
    </message>
    <message>
        <source>%1 cannot be created</source>
        <translation>%1 ساخته نشد</translation>
    </message>
    <message>
        <source>%1 cannot be written</source>
        <translation>%1 نوشته نشد</translation>
    </message>
    <message>
        <source>This system names no data folder for the tool. Start the program in a folder that holds the tool&apos;s files, or name one with --folder DIR.</source>
        <translation>در اين سيستم پوشه‌اي براي داده‌هاي برنامه تعريف نشده است. برنامه را در پوشه‌اي که فايل‌هاي برنامه را دارد اجرا کنيد، يا نشاني پوشه را با ‎--folder DIR‎ بدهيد.</translation>
    </message>
</context>
<context>
    <name>TForm1</name>
    <message>
        <source>no device connected: connect the device and wait for the green lamp</source>
        <translation>دستگاهي وصل نيست: دستگاه را وصل کنيد و منتظر سبز شدن چراغ بمانيد</translation>
    </message>
    <message>
        <source>The tool&apos;s files are in %1</source>
        <translation>پوشه فايل‌هاي برنامه: %1</translation>
    </message>
    <message>
        <source>the device holds no settings: it has never been configured</source>
        <translation>تنظيماتي در دستگاه ذخيره نشده است؛ دستگاه هنوز پيکربندي نشده است</translation>
    </message>
    <message>
        <source> The PC&apos;s time zone is UTC%1, not Iran Standard Time (UTC+03:30), which the device keeps: the device gets the PC&apos;s clock as it reads. Set the time zone to Asia/Tehran (on Windows &quot;(UTC+03:30) Tehran&quot;).</source>
        <translation> منطقه زمانی رایانه UTC%1 است، نه وقت رسمی ایران (UTC+03:30) که دستگاه نگه می‌دارد: دستگاه ساعت رایانه را همان‌گونه که هست می‌گیرد. منطقه زمانی را Asia/Tehran کنید (در ویندوز «(UTC+03:30) Tehran»).</translation>
    </message>
    <message>
        <source> The PC&apos;s time-zone data still keeps Iran&apos;s daylight saving, which ended in 2022 (it does in %1): the device gets the PC&apos;s clock an hour back while it does. Update the time-zone data (on Windows, install the system&apos;s updates).</source>
        <translation> داده‌های منطقه زمانی رایانه هنوز ساعت تابستانی ایران را دارد که از 2022 برداشته شد (در سال %1 هم): در آن مدت دستگاه ساعت رایانه را یک ساعت عقب‌تر می‌گیرد. داده‌های منطقه زمانی را به‌روز کنید (در ویندوز، به‌روزرسانی‌های سیستم را نصب کنید).</translation>
    </message>
    <message>
        <source>approximate coordinates for %1: the centre of the county, not its seat; times may differ by a minute or two</source>
        <translation>مختصات %1 تقریبی است: نقطه میانی محدوده شهرستان، نه شهر مرکز آن؛ اوقات شرعی ممکن است یکی دو دقیقه فرق کند</translation>
    </message>
    <message>
        <source>%1 of %2 blocks confirmed; the configuration is incomplete: apply it again</source>
        <translation>%1 بلوک از %2 بلوک تأیید شد؛ پیکربندی دستگاه ناقص است: تنظیمات را دوباره اعمال کنید</translation>
    </message>
    <message>
        <source>%1 of %2 pages confirmed; the device is left in its upgrade stage: run the upgrade again</source>
        <translation>%1 صفحه از %2 صفحه تأیید شد؛ دستگاه در مرحله ارتقاء مانده است: ارتقاء را دوباره اجرا کنید</translation>
    </message>
</context>
<context>
    <name>TimetableDialog</name>
    <message>
        <source>not a time of day</source>
        <translation>زمان نامعتبر</translation>
    </message>
    <message>
        <source>%1 days, every time a time of day</source>
        <translation>%1 روز، همه ساعت‌ها معتبر</translation>
    </message>
    <message>
        <source>%1 days; %2 times are not times of day (marked)</source>
        <translation>%1 روز؛ %2 زمان نامعتبر (علامت‌گذاري‌شده)</translation>
    </message>
    <message>
        <source>; %1 place(s) of the file not in this year (grey)</source>
        <translation>؛ %1 رديف فايل در اين سال وجود ندارد (خاکستري)</translation>
    </message>
    <message>
        <source>not a day of this year: the device never uses it</source>
        <translation>روزي از اين سال نيست؛ دستگاه هرگز از آن استفاده نمي‌کند</translation>
    </message>
    <message>
        <source>Year:</source>
        <translation>سال:</translation>
    </message>
    <message>
        <source>Print / save as PDF...</source>
        <translation>چاپ / ذخیره به صورت PDF...</translation>
    </message>
    <message>
        <source>Dawn at %1°, sunrise and sunset at %2°, maghrib at %3° below the horizon</source>
        <translation>اذان صبح در %1 درجه، طلوع و غروب آفتاب در %2 درجه و اذان مغرب در %3 درجه زیر افق</translation>
    </message>
    <message>
        <source>Times in Iran Standard Time (UTC+03:30), which the device keeps all year</source>
        <translation>ساعت‌ها به وقت رسمی ایران (UTC+03:30) که دستگاه در تمام سال نگه می‌دارد</translation>
    </message>
    <message>
        <source>The county lies at latitude %1, longitude %2</source>
        <translation>عرض جغرافیایی شهرستان %1 و طول جغرافیایی آن %2</translation>
    </message>
    <message>
        <source>The county has no coordinates in the city database</source>
        <translation>شهرستان در پایگاه داده شهرها طول و عرض جغرافیایی ندارد</translation>
    </message>
</context>
<context>
    <name>Translations</name>
    <message>
        <source>Qt&apos;s dialogs stay in English: its Persian translation qtbase_fa is missing (install qt6-translations-l10n)</source>
        <translation>کادرهاي گفت‌وگوي Qt به انگليسي نمايش داده مي‌شوند: ترجمه فارسي آن (qtbase_fa) نصب نيست (qt6-translations-l10n را نصب کنيد)</translation>
    </message>
</context>
</TS>
