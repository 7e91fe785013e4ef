<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fa">
<context>
    <name>CodePageCheck</name>
    <message>
        <source>this Qt has no Windows-1256 converter (install Debian&apos;s ICU-enabled libqt6core6 with libicu72)</source>
        <translation>اين Qt مبدل Windows-1256 ندارد (libqt6core6 دبيان را با libicu72 نصب کنيد)</translation>
    </message>
    <message>
        <source>no font has the Persian letters (install fonts-noto-ui-core)</source>
        <translation>هيچ قلمي حروف فارسي را ندارد (fonts-noto-ui-core را نصب کنيد)</translation>
    </message>
    <message>
        <source> Persian text will not work here: </source>
        <translation> متن فارسي در اين سيستم درست نمايش داده نمي‌شود: </translation>
    </message>
</context>
<context>
    <name>StartFolder</name>
    <message>
        <source>The data folder %1 cannot be set up: %2. Start the program in a folder that holds the tool&apos;s files, or name one with --folder DIR.</source>
        <translation>پوشه داده‌هاي برنامه %1 آماده نشد: %2. برنامه را در پوشه‌اي که فايل‌هاي برنامه را دارد اجرا کنيد، يا پوشه را با ‎--folder DIR‎ نام ببريد.</translation>
    </message>
    <message>
        <source>%1 cannot be copied (%2)</source>
        <translation>%1 کپي نشد (%2)</translation>
    </message>
    <message>
        <source>the installed sample %1 is missing</source>
        <translation>نمونه نصب‌شده %1 وجود ندارد</translation>
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
        <translation>اين سيستم پوشه‌اي براي داده‌هاي برنامه معرفي نمي‌کند. برنامه را در پوشه‌اي که فايل‌هاي برنامه را دارد اجرا کنيد، يا پوشه را با ‎--folder DIR‎ نام ببريد.</translation>
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
        <translation>فايل‌هاي برنامه در %1 است</translation>
    </message>
    <message>
        <source>the device holds no settings: it has never been configured</source>
        <translation>دستگاه تنظيماتي ندارد: هرگز پيکربندي نشده است</translation>
    </message>
</context>
<context>
    <name>TimetableDialog</name>
    <message>
        <source>not a time of day</source>
        <translation>ساعت معتبري از شبانه‌روز نيست</translation>
    </message>
    <message>
        <source>%1 days, every time a time of day</source>
        <translation>%1 روز، همه ساعت‌ها معتبر</translation>
    </message>
    <message>
        <source>%1 days; %2 times are not times of day (marked)</source>
        <translation>%1 روز؛ %2 ساعت نامعتبر است (علامت‌دار)</translation>
    </message>
    <message>
        <source>; %1 place(s) of the file not in this year (grey)</source>
        <translation>؛ %1 خانه از فايل در اين سال نيست (خاکستري)</translation>
    </message>
    <message>
        <source>not a day of this year: the device never uses it</source>
        <translation>روزي از اين سال نيست؛ دستگاه هرگز از آن استفاده نمي‌کند</translation>
    </message>
</context>
<context>
    <name>Translations</name>
    <message>
        <source>Qt&apos;s dialogs stay in English: its Persian translation qtbase_fa is missing (install qt6-translations-l10n)</source>
        <translation>پنجره‌هاي Qt انگليسي مي‌مانند: ترجمه فارسي آن (qtbase_fa) نصب نيست (qt6-translations-l10n را نصب کنيد)</translation>
    </message>
</context>
</TS>
