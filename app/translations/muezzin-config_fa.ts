<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fa">
<context>
    <name>CodePageCheck</name>
    <message>
        <location filename="../AppTexts.h" line="166"/>
        <source>no font has the Persian letters (install fonts-noto-ui-core)</source>
        <translation>هیچ قلمی حروف فارسی را ندارد (بستهٔ fonts-noto-ui-core را نصب کنید)</translation>
    </message>
    <message>
        <location filename="../AppTexts.h" line="170"/>
        <source> Persian text will not work here: </source>
        <translation> متن فارسی در این سیستم درست کار نمی‌کند: </translation>
    </message>
    <message>
        <location filename="../AppTexts.h" line="176"/>
        <source> The system&apos;s code pages are %1 (ANSI) and %2 (OEM), not the Arabic 1256 and 720. This program does not need them; older programs that show Persian may: for them, set &quot;Language for non-Unicode programs&quot; to Persian in Windows&apos; region settings.</source>
        <translation> کدپیج‌های سیستم %1 (ANSI) و %2 (OEM) است، نه کدپیج‌های عربی 1256 و 720. این برنامه به آن‌ها نیازی ندارد؛ برنامه‌های قدیمی‌تری که فارسی نشان می‌دهند شاید داشته باشند: برای آن‌ها، در تنظیمات Region ویندوز «Language for non-Unicode programs» را Persian کنید.</translation>
    </message>
</context>
<context>
    <name>EventLog</name>
    <message>
        <location filename="../AppTexts.h" line="63"/>
        <source>The log of this run will be added to its end.</source>
        <translation>رویدادهای این اجرا به انتهای آن افزوده می‌شود.</translation>
    </message>
    <message>
        <location filename="../AppTexts.h" line="68"/>
        <source>Close without saving the log? The log&apos;s lines of this session are then lost.</source>
        <translation>برنامه بدون ذخیرهٔ رویدادها بسته شود؟ در این صورت رویدادهای این نوبت از دست می‌رود.</translation>
    </message>
</context>
<context>
    <name>OperationTexts</name>
    <message>
        <location filename="../../device/UpgradeTexts.h" line="60"/>
        <source>Failed: the connection to the device was lost</source>
        <translation>ناموفق: ارتباط با دستگاه قطع شد</translation>
    </message>
</context>
<context>
    <name>Problem</name>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="52"/>
        <source>cannot open {port}: permission denied</source>
        <translation>درگاه {port} باز نمی‌شود: اجازهٔ دسترسی ندارید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="54"/>
        <source>cannot open {port}: in use by another program</source>
        <translation>درگاه {port} باز نمی‌شود: در دست برنامهٔ دیگری است</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="56"/>
        <source>cannot open {port}: a lock file was left over</source>
        <translation>درگاه {port} باز نمی‌شود: فایل قفلی از پیش مانده است</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="58"/>
        <source>{port} is not a serial port</source>
        <translation>{port} درگاه سریال نیست</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="59"/>
        <source>{port} is not there</source>
        <translation>درگاه {port} وجود ندارد</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="61"/>
        <source>cannot open {port}</source>
        <translation>درگاه {port} باز نمی‌شود</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="98"/>
        <source>no command given; see &apos;muezzin-cli --help&apos;</source>
        <translation>فرمانی داده نشده است؛ راهنما: muezzin-cli --help</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="101"/>
        <source>unknown command &apos;{command}&apos;; see &apos;muezzin-cli --help&apos;</source>
        <translation>فرمان «{command}» ناشناخته است؛ راهنما: muezzin-cli --help</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="104"/>
        <source>unknown option &apos;{option}&apos;; see &apos;muezzin-cli --help&apos;</source>
        <translation>گزینهٔ «{option}» ناشناخته است؛ راهنما: muezzin-cli --help</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="106"/>
        <source>the option &apos;{option}&apos; needs a value</source>
        <translation>گزینهٔ «{option}» مقدار می‌خواهد</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="108"/>
        <source>the option &apos;{option}&apos; takes no value</source>
        <translation>گزینهٔ «{option}» مقداری نمی‌پذیرد</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="109"/>
        <source>{detail}</source>
        <translation>{detail}</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="111"/>
        <source>unexpected argument &apos;{argument}&apos;</source>
        <translation>آرگومان «{argument}» اضافی است</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="116"/>
        <source>--format takes text or json, not &apos;{value}&apos;</source>
        <translation>گزینهٔ --format فقط text یا json می‌پذیرد، نه «{value}»</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="119"/>
        <source>--format takes {formats} or {last}, not &apos;{value}&apos;</source>
        <translation>گزینهٔ --format یکی از {formats} یا {last} را می‌پذیرد، نه «{value}»</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="126"/>
        <source>import-cities takes FILE.csv and, optionally, the database</source>
        <translation>فرمان import-cities یک FILE.csv و در صورت نیاز نام پایگاه داده را می‌گیرد</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="128"/>
        <source>upgrade takes one FILE.fmw</source>
        <translation>فرمان upgrade فقط یک FILE.fmw می‌گیرد</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="131"/>
        <source>--profile-out writes one device&apos;s settings: name one port</source>
        <translation>گزینهٔ --profile-out تنظیمات یک دستگاه را می‌نویسد: فقط یک درگاه نام ببرید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="134"/>
        <source>--profile-out - and --format json both want standard output: name a FILE for the profile</source>
        <translation>هر دو گزینهٔ --profile-out - و --format json خروجی استاندارد را می‌خواهند: برای پروفایل یک FILE نام ببرید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="138"/>
        <source>--county needs a county&apos;s index or name</source>
        <translation>گزینهٔ --county شماره یا نام یک شهرستان را می‌خواهد</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="158"/>
        <source>no county given: use --county N, or county in the [location] section of the profile</source>
        <translation>شهرستانی داده نشده است: --county N را به کار ببرید، یا county را در بخش [location] پروفایل بنویسید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="166"/>
        <source>There is no county with index {county} in {database}</source>
        <translation>در {database} شهرستانی با شمارهٔ {county} نیست</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="169"/>
        <source>no county, city or province name contains &apos;{name}&apos;; see &apos;muezzin-cli counties&apos;</source>
        <translation>نام هیچ شهرستان، شهر یا استانی «{name}» را در بر ندارد؛ فهرست شهرستان‌ها: muezzin-cli counties</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="174"/>
        <source>no county, city or province name contains &apos;{name}&apos;</source>
        <translation>نام هیچ شهرستان، شهر یا استانی «{name}» را در بر ندارد</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="178"/>
        <source>&apos;{name}&apos; may mean {count} counties; give one&apos;s index with --county:</source>
        <translation>«{name}» ممکن است {count} شهرستان باشد؛ شمارهٔ یکی را با --county بدهید:</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="184"/>
        <source>County {county} belongs to province {province}, but the province list has {lines} lines</source>
        <translation>شهرستان {county} از استان {province} است، اما فهرست استان‌ها فقط {lines} سطر دارد</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="189"/>
        <source>County {county} cannot be chosen: its city &quot;{city_name}&quot; (index {city}) is listed under the same name as city {other_city} of province {province}</source>
        <translation>شهرستان {county} را نمی‌توان برگزید: شهر آن، «{city_name}» با شمارهٔ {city}، هم‌نام شهر {other_city} از استان {province} در فهرست آمده است</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="195"/>
        <source>County {county} is not among the counties of its city {city} in {database}</source>
        <translation>در {database} شهرستان {county} جزو شهرستان‌های شهر خودش ({city}) نیست</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="205"/>
        <source>&apos;{value}&apos; is not a value from {low} to {high}[[ ({key})]]</source>
        <translation>«{value}» عددی از {low} تا {high} نیست[[ ({key})]]</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="208"/>
        <source>&apos;{value}&apos; is not a valid coordinate: write degrees and at most two digits after the point, as in 51.42[[ ({key})]]</source>
        <translation>«{value}» مختصات درستی نیست: درجه را با حداکثر دو رقم پس از ممیز بنویسید، مانند 51.42[[ ({key})]]</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="213"/>
        <source>&apos;{value}&apos; has more than two digits after the point: the device keeps hundredths of a degree[[ ({key})]]</source>
        <translation>«{value}» بیش از دو رقم پس از ممیز دارد: دستگاه فقط تا صدم درجه را نگه می‌دارد[[ ({key})]]</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="218"/>
        <source>&apos;{value}&apos; is not a coordinate from 0 to 255.99[[ ({key})]]</source>
        <translation>«{value}» مختصاتی از 0 تا 255.99 نیست[[ ({key})]]</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="114"/>
        <source>{option} is given more than once; it takes one value</source>
        <translation>گزینهٔ «{option}» بیش از یک بار آمده است؛ فقط یک مقدار می‌پذیرد</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="122"/>
        <source>--year takes a solar year from {low} to {high}, not &apos;{value}&apos;</source>
        <translation>گزینهٔ --year سالی خورشیدی از {low} تا {high} می‌گیرد، نه «{value}»</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="141"/>
        <source>--port takes a port&apos;s name (/dev/ttyUSB0, COM3), not an empty text</source>
        <translation>گزینهٔ --port نام یک درگاه را می‌گیرد (/dev/ttyUSB0، COM3)، نه متنی خالی</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="144"/>
        <source>help takes one command, not &apos;{argument}&apos;</source>
        <translation>فرمان help تنها یک فرمان می‌گیرد، نه «{argument}»</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="146"/>
        <source>export-cities takes FILE.csv (&apos;-&apos;: standard output) and, optionally, the database</source>
        <translation>فرمان export-cities یک FILE.csv (برای خروجی استاندارد: -) و در صورت نیاز نام پایگاه داده را می‌گیرد</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="151"/>
        <source>export-cities - and --format json both want standard output: name a FILE for the CSV</source>
        <translation>export-cities - و --format json هر دو خروجی استاندارد را می‌خواهند: برای CSV یک FILE نام ببرید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="162"/>
        <source>no county given: use --county N|NAME</source>
        <translation>شهرستانی داده نشده است: از --county N|NAME استفاده کنید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="222"/>
        <source>{file}, line {line}: &apos;{value}&apos; is not a latitude from 0 to {limit}</source>
        <translation>{file}، سطر {line}: «{value}» عرض جغرافیایی‌ای از 0 تا {limit} نیست</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="226"/>
        <source>{file}, line {line}: &apos;{value}&apos; is not a longitude from 0 to {limit}</source>
        <translation>{file}، سطر {line}: «{value}» طول جغرافیایی‌ای از 0 تا {limit} نیست</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="231"/>
        <source>{file}, line {line}: a control character ({code}) in the line</source>
        <translation>{file}، سطر {line}: نویسهٔ کنترلی ({code}) در سطر هست</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="235"/>
        <source>{file}, line {line}: &apos;{text}&apos; is not a section header</source>
        <translation>{file}، سطر {line}: «{text}» سرآغاز بخش نیست</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="238"/>
        <source>{file}, line {line}: unknown section [{section}]</source>
        <translation>{file}، سطر {line}: بخش ناشناختهٔ [{section}]</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="241"/>
        <source>{file}, line {line}: &apos;{text}&apos; is not a line of the form key = value</source>
        <translation>{file}، سطر {line}: «{text}» به شکل key = value نیست</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="245"/>
        <source>{file}, line {line}: &apos;{text}&apos; stands before any section</source>
        <translation>{file}، سطر {line}: «{text}» پیش از هر بخشی آمده است</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="248"/>
        <source>{file}, line {line}: unknown key &apos;{key}&apos; in section [{section}]</source>
        <translation>{file}، سطر {line}: کلید ناشناختهٔ «{key}» در بخش [{section}]</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="252"/>
        <source>{file}, line {line}: key &apos;{key}&apos; in section [{section}] is given twice (first on line {first_line})</source>
        <translation>{file}، سطر {line}: کلید «{key}» در بخش [{section}] دو بار آمده است (بار نخست در سطر {first_line})</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="257"/>
        <source>{file}, line {line}: &apos;{value}&apos; is neither true nor false</source>
        <translation>{file}، سطر {line}: «{value}» نه true است نه false</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="261"/>
        <source>{path} holds {size} bytes: an upgrade file holds at least {needed}</source>
        <translation>فایل {path} فقط {size} بایت دارد، اما فایل ارتقا دست‌کم {needed} بایت دارد</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="267"/>
        <source>Cannot import {path}: line {line}: a record longer than {limit} characters</source>
        <translation>{path} درون‌ریزی نشد: سطر {line}: رکوردی بلندتر از {limit} نویسه</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="272"/>
        <source>Cannot import {path}: line {line}: a double quote inside a field that is not in quotes</source>
        <translation>{path} درون‌ریزی نشد: سطر {line}: نشانهٔ نقل‌قول دوتایی درون فیلدی که در نقل‌قول نیست</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="277"/>
        <source>Cannot import {path}: line {line}: text after the closing double quote of a field</source>
        <translation>{path} درون‌ریزی نشد: سطر {line}: متنی پس از نقل‌قول پایانی یک فیلد</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="282"/>
        <source>Cannot import {path}: line {line}: a double quote opens a field that never closes</source>
        <translation>{path} درون‌ریزی نشد: سطر {line}: نقل‌قولی فیلدی را باز می‌کند که هرگز بسته نمی‌شود</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="287"/>
        <source>Cannot import {path}: line {line}: the text is not UTF-8</source>
        <translation>{path} درون‌ریزی نشد: سطر {line}: متن به رمزگذاری UTF-8 نیست</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="290"/>
        <source>Cannot import {path}: line {line}: a line longer than {limit} bytes</source>
        <translation>{path} درون‌ریزی نشد: سطر {line}: سطری بلندتر از {limit} بایت</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="294"/>
        <source>Cannot import {path}: line {line}: the column {column} appears twice</source>
        <translation>{path} درون‌ریزی نشد: سطر {line}: ستون {column} دو بار آمده است</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="297"/>
        <source>Cannot import {path}: line {line}: the header has no column {columns}</source>
        <translation>{path} درون‌ریزی نشد: سطر {line}: سرسطر ستون {columns} را ندارد</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="302"/>
        <source>Cannot import {path}: line {line}: column {column} holds &quot;{value}&quot;, which is not a whole number</source>
        <translation>{path} درون‌ریزی نشد: سطر {line}: ستون {column} مقدار «{value}» را دارد که عدد صحیح نیست</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="307"/>
        <source>Cannot import {path}: line {line}: column {column} holds &quot;{value}&quot;, which is not a number</source>
        <translation>{path} درون‌ریزی نشد: سطر {line}: ستون {column} مقدار «{value}» را دارد که عدد نیست</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="312"/>
        <source>Cannot import {path}: line {line}: column {column} holds &quot;{value}&quot;, which is beyond {limit} degrees</source>
        <translation>{path} درون‌ریزی نشد: سطر {line}: ستون {column} مقدار «{value}» را دارد که از {limit} درجه بیشتر است</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="317"/>
        <source>Cannot import {path}: line {line}: column {column} holds &quot;{value}&quot;, but a name cannot hold a control character ({character})</source>
        <translation>{path} درون‌ریزی نشد: سطر {line}: ستون {column} مقدار «{value}» را دارد، اما نام نمی‌تواند نویسهٔ کنترلی ({character}) داشته باشد</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="322"/>
        <source>Cannot import {path}: line {line}: column {column} holds &quot;{value}&quot;, but a name cannot hold a line separator ({character})</source>
        <translation>{path} درون‌ریزی نشد: سطر {line}: ستون {column} مقدار «{value}» را دارد، اما نام نمی‌تواند جداکنندهٔ سطر ({character}) داشته باشد</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="327"/>
        <source>Cannot import {path}: line {line}: column {column} holds &quot;{value}&quot;, but a name cannot hold a bidirectional control ({character})</source>
        <translation>{path} درون‌ریزی نشد: سطر {line}: ستون {column} مقدار «{value}» را دارد، اما نام نمی‌تواند نویسهٔ کنترل جهت ({character}) داشته باشد</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="332"/>
        <source>Cannot import {path}: line {line}: {count} fields where the header has {header}</source>
        <translation>{path} درون‌ریزی نشد: سطر {line}: {count} فیلد، در حالی که سرسطر {header} فیلد دارد</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="337"/>
        <source>Cannot import {path}: line {line}: column {column} holds {county}, which line {first_line} already uses</source>
        <translation>{path} درون‌ریزی نشد: سطر {line}: ستون {column} مقدار {county} را دارد که سطر {first_line} پیش‌تر آن را به کار برده است</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="342"/>
        <source>Cannot import {path}: line {line}: column {column} holds &quot;{value}&quot;, but a name cannot be empty or only blanks</source>
        <translation>{path} درون‌ریزی نشد: سطر {line}: ستون {column} مقدار «{value}» را دارد، اما نام نمی‌تواند خالی یا فقط فاصله باشد</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="348"/>
        <source>Cannot import {path}: line {line}: column {column} holds &quot;{value}&quot;, which is no line of the province list {list} (lines 1 to {lines})</source>
        <translation>{path} درون‌ریزی نشد: سطر {line}: ستون {column} مقدار «{value}» را دارد که سطری از فهرست استان‌ها ({list}) نیست (سطرهای 1 تا {lines})</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="353"/>
        <source>Cannot import {path}: line {line}: column {column} holds &quot;{value}&quot;, which is no line of the province list {list} (which has no line)</source>
        <translation>{path} درون‌ریزی نشد: سطر {line}: ستون {column} مقدار «{value}» را دارد که سطری از فهرست استان‌ها ({list}) نیست (این فهرست هیچ سطری ندارد)</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="358"/>
        <source>Cannot import {path}: line {line}: column {column} holds &quot;{value}&quot;, which is neither 0 nor 1</source>
        <translation>{path} درون‌ریزی نشد: سطر {line}: ستون {column} مقدار «{value}» را دارد که نه 0 است نه 1</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="364"/>
        <source>Cannot import {path}: no province list to check its {column} against: {list} does not exist; put the {file} that goes with the database beside it, or name its folder with --folder DIR</source>
        <translation>{path} درون‌ریزی نشد: فهرست استان‌هایی نیست که ستون {column} با آن سنجیده شود: {list} وجود ندارد؛ فایل {file} همان پایگاه داده را کنارش بگذارید، یا پوشه‌اش را با --folder DIR نام ببرید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="370"/>
        <source>Cannot import {path}: no province list to check its {column} against: neither {list} nor {other_list} exists; put the {file} that goes with the database beside it, or name its folder with --folder DIR</source>
        <translation>{path} درون‌ریزی نشد: فهرست استان‌هایی نیست که ستون {column} با آن سنجیده شود: نه {list} وجود دارد نه {other_list}؛ فایل {file} همان پایگاه داده را کنارش بگذارید، یا پوشه‌اش را با --folder DIR نام ببرید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="375"/>
        <source>Cannot import {path}: the file is empty</source>
        <translation>{path} درون‌ریزی نشد: فایل خالی است</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="378"/>
        <source>Cannot import {path}: the file holds no county below its header line</source>
        <translation>{path} درون‌ریزی نشد: فایل زیر سرسطرش هیچ شهرستانی ندارد</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="382"/>
        <source>Cannot import {path}: it is the database file {database} itself; name another file for the database</source>
        <translation>{path} درون‌ریزی نشد: این همان فایل پایگاه داده ({database}) است؛ فایل دیگری برای پایگاه داده نام ببرید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="388"/>
        <source>Cannot open file {path}</source>
        <translation>فایل {path} باز نمی‌شود</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="391"/>
        <source>Cannot write file {path}: its folder does not exist</source>
        <translation>فایل {path} نوشته نمی‌شود: پوشهٔ آن وجود ندارد</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="394"/>
        <source>The city database {path} cannot be used: the file does not exist</source>
        <translation>پایگاه دادهٔ شهرها ({path}) به کار نمی‌آید: فایل وجود ندارد</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="397"/>
        <source>Cannot open file {path}: permission denied</source>
        <translation>فایل {path} باز نمی‌شود: اجازهٔ خواندن آن را ندارید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="399"/>
        <source>Cannot write file {path}: permission denied</source>
        <translation>فایل {path} نوشته نمی‌شود: اجازهٔ نوشتن آن را ندارید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="402"/>
        <source>The city database {path} cannot be used: the file is not readable</source>
        <translation>پایگاه دادهٔ شهرها ({path}) به کار نمی‌آید: اجازهٔ خواندن فایل را ندارید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="405"/>
        <source>{path} may not be read by this user; give it read permission</source>
        <translation>این کاربر اجازهٔ خواندن {path} را ندارد؛ اجازهٔ خواندن آن را بدهید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="408"/>
        <source>Cannot open file {path}: it is a folder</source>
        <translation>فایل {path} باز نمی‌شود: این یک پوشه است</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="411"/>
        <source>Cannot open file {path}: not a regular file (a device, a FIFO or a socket)</source>
        <translation>فایل {path} باز نمی‌شود: فایل معمولی نیست (دستگاه، FIFO یا سوکت است)</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="415"/>
        <source>Cannot write file {path}: it is a folder</source>
        <translation>فایل {path} نوشته نمی‌شود: این یک پوشه است</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="418"/>
        <source>Cannot write file {path}: not a regular file, which this file must be</source>
        <translation>فایل {path} نوشته نمی‌شود: فایل معمولی نیست، و این فایل باید معمولی باشد</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="422"/>
        <source>Cannot write file {path}: a FIFO that no program reads</source>
        <translation>فایل {path} نوشته نمی‌شود: یک FIFO است که برنامه‌ای آن را نمی‌خواند</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="425"/>
        <source>The city database {path} cannot be used: it is not a file</source>
        <translation>پایگاه دادهٔ شهرها ({path}) به کار نمی‌آید: این یک فایل نیست</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="428"/>
        <source>Cannot read file {path}: larger than {kib} KiB</source>
        <translation>فایل {path} خوانده نمی‌شود: بزرگ‌تر از {kib} کیلوبایت است</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="430"/>
        <source>Cannot read file {path}: larger than {mib} MiB</source>
        <translation>فایل {path} خوانده نمی‌شود: بزرگ‌تر از {mib} مگابایت است</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="433"/>
        <source>Cannot read file {path}: larger than {kib} KiB before its {lines}th line ends</source>
        <translation>فایل {path} خوانده نمی‌شود: پیش از پایان سطر {lines}ام از {kib} کیلوبایت بزرگ‌تر است</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="438"/>
        <source>Cannot write file {path}: no space left on the disk</source>
        <translation>فایل {path} نوشته نمی‌شود: جای خالی روی دیسک نمانده است</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="440"/>
        <source>Cannot write {path}: no space left on the disk</source>
        <translation>{path} نوشته نمی‌شود: جای خالی روی دیسک نمانده است</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="443"/>
        <source>Cannot write file {path}: held open by another program; close it there and try again</source>
        <translation>فایل {path} نوشته نمی‌شود: برنامهٔ دیگری آن را باز نگه داشته است؛ آن را در آن برنامه ببندید و دوباره امتحان کنید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="448"/>
        <source>Cannot open file {path}: held open by another program; close it there and try again</source>
        <translation>فایل {path} باز نمی‌شود: برنامهٔ دیگری آن را باز نگه داشته است؛ آن را در آن برنامه ببندید و دوباره امتحان کنید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="452"/>
        <source>Cannot open file {path}: {reason}</source>
        <translation>فایل {path} باز نمی‌شود: {reason}</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="454"/>
        <source>Cannot read file {path}: {reason}</source>
        <translation>فایل {path} خوانده نمی‌شود: {reason}</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="456"/>
        <source>Cannot write file {path}: {reason}</source>
        <translation>فایل {path} نوشته نمی‌شود: {reason}</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="458"/>
        <source>Cannot write {path}: {reason}</source>
        <translation>{path} نوشته نمی‌شود: {reason}</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="462"/>
        <source>Windows-1256 text cannot be converted here: the system has no converter for it (install Debian&apos;s libc6 again, whose gconv modules convert it, and leave GCONV_PATH unset)</source>
        <translation>متن Windows-1256 در این سیستم تبدیل نمی‌شود: سیستم مبدلی برای آن ندارد (بستهٔ libc6 دبیان را که ماژول‌های gconv آن این تبدیل را انجام می‌دهند دوباره نصب کنید و GCONV_PATH را خالی بگذارید)</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="468"/>
        <source>Windows-1256 text cannot be converted here: the code page 1256 is not installed (add Persian to Windows&apos; languages: Settings, Time &amp; Language)</source>
        <translation>متن Windows-1256 در این سیستم تبدیل نمی‌شود: کدپیج 1256 نصب نیست (فارسی را به زبان‌های ویندوز بیفزایید: Settings، Time &amp; Language)</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="475"/>
        <source>the character &quot;{character}&quot; ({code_point}) has no place in Windows-1256, the code page of the device&apos;s files</source>
        <translation>نویسهٔ «{character}» ({code_point}) در Windows-1256، کدپیج فایل‌های دستگاه، جایی ندارد</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="479"/>
        <source>The city database {path} cannot be used: the SQLite driver of Qt is not installed (Debian: libqt6sql6-sqlite)</source>
        <translation>پایگاه دادهٔ شهرها ({path}) به کار نمی‌آید: راه‌انداز SQLite کتابخانهٔ Qt نصب نیست (در دبیان: libqt6sql6-sqlite)</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="484"/>
        <source>Cannot write {path}: the SQLite driver of Qt is not installed (Debian: libqt6sql6-sqlite)</source>
        <translation>{path} نوشته نمی‌شود: راه‌انداز SQLite کتابخانهٔ Qt نصب نیست (در دبیان: libqt6sql6-sqlite)</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="490"/>
        <source>The city database {path} cannot be used: it is not a readable SQLite database ({detail})</source>
        <translation>پایگاه دادهٔ شهرها ({path}) به کار نمی‌آید: پایگاه دادهٔ SQLite خوانایی نیست ({detail})</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="495"/>
        <source>The city database {path} cannot be used: it has no table city</source>
        <translation>پایگاه دادهٔ شهرها ({path}) به کار نمی‌آید: جدول city را ندارد</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="499"/>
        <source>The city database {path} cannot be used: table city has no column {columns}</source>
        <translation>پایگاه دادهٔ شهرها ({path}) به کار نمی‌آید: جدول city ستون {columns} را ندارد</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="504"/>
        <source>The city database {path} cannot be used: a row of table city has {column} &quot;{value}&quot;, which is not a whole number</source>
        <translation>پایگاه دادهٔ شهرها ({path}) به کار نمی‌آید: ردیفی از جدول city در ستون {column} مقدار «{value}» را دارد که عدد صحیح نیست</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="509"/>
        <source>The city database {path} cannot be used: a row of table city has {column} &quot;{value}&quot;, which is not a number</source>
        <translation>پایگاه دادهٔ شهرها ({path}) به کار نمی‌آید: ردیفی از جدول city در ستون {column} مقدار «{value}» را دارد که عدد نیست</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="514"/>
        <source>The city database {path} cannot be used: a row of table city has {column} &quot;{value}&quot;, which is neither 0 nor 1</source>
        <translation>پایگاه دادهٔ شهرها ({path}) به کار نمی‌آید: ردیفی از جدول city در ستون {column} مقدار «{value}» را دارد که نه 0 است نه 1</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="519"/>
        <source>The city database {path} cannot be used: {detail}</source>
        <translation>پایگاه دادهٔ شهرها ({path}) به کار نمی‌آید: {detail}</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="523"/>
        <source>The data folder {folder} cannot be set up: the installed sample {sample} is missing. Start the program in a folder that holds the tool&apos;s files, or name one with --folder DIR.</source>
        <translation>پوشهٔ داده‌های برنامه ({folder}) آماده نشد: فایل‌های نمونهٔ نصب‌شده ({sample}) پیدا نشد. برنامه را در پوشه‌ای اجرا کنید که فایل‌های برنامه را دارد، یا پوشه را با --folder DIR نام ببرید.</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="529"/>
        <source>The data folder {folder} cannot be set up: {file} cannot be copied ({reason}). Start the program in a folder that holds the tool&apos;s files, or name one with --folder DIR.</source>
        <translation>پوشهٔ داده‌های برنامه ({folder}) آماده نشد: {file} کپی نشد ({reason}). برنامه را در پوشه‌ای اجرا کنید که فایل‌های برنامه را دارد، یا پوشه را با --folder DIR نام ببرید.</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="535"/>
        <source>The data folder {folder} cannot be set up: {path} cannot be created. Start the program in a folder that holds the tool&apos;s files, or name one with --folder DIR.</source>
        <translation>پوشهٔ داده‌های برنامه ({folder}) آماده نشد: {path} ساخته نشد. برنامه را در پوشه‌ای اجرا کنید که فایل‌های برنامه را دارد، یا پوشه را با --folder DIR نام ببرید.</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="541"/>
        <source>The data folder {folder} cannot be set up: {path} cannot be written. Start the program in a folder that holds the tool&apos;s files, or name one with --folder DIR.</source>
        <translation>پوشهٔ داده‌های برنامه ({folder}) آماده نشد: {path} نوشته نشد. برنامه را در پوشه‌ای اجرا کنید که فایل‌های برنامه را دارد، یا پوشه را با --folder DIR نام ببرید.</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="547"/>
        <source>The data folder {folder} cannot be set up: {reason}. Start the program in a folder that holds the tool&apos;s files, or name one with --folder DIR.</source>
        <translation>پوشهٔ داده‌های برنامه ({folder}) آماده نشد: {reason}. برنامه را در پوشه‌ای اجرا کنید که فایل‌های برنامه را دارد، یا پوشه را با --folder DIR نام ببرید.</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="553"/>
        <source>This system names no data folder for the tool. Start the program in a folder that holds the tool&apos;s files, or name one with --folder DIR.</source>
        <translation>در این سیستم پوشه‌ای برای داده‌های برنامه تعریف نشده است. برنامه را در پوشه‌ای اجرا کنید که فایل‌های برنامه را دارد، یا پوشه را با --folder DIR نام ببرید.</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="560"/>
        <source>cannot open {port}[[ ({device})]]: permission denied: &apos;{user}&apos; was added to the group &apos;{group}&apos; after this login session began; log out and in again</source>
        <translation>درگاه {port}[[ ({device})]] باز نمی‌شود: اجازهٔ دسترسی نیست؛ کاربر «{user}» پس از آغاز این نشست به گروه «{group}» افزوده شده است؛ از حساب کاربری خارج و دوباره وارد شوید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="566"/>
        <source>cannot open {port}[[ ({device})]]: permission denied: your user was added to the group &apos;{group}&apos; after this login session began; log out and in again</source>
        <translation>درگاه {port}[[ ({device})]] باز نمی‌شود: اجازهٔ دسترسی نیست؛ کاربر شما پس از آغاز این نشست به گروه «{group}» افزوده شده است؛ از حساب کاربری خارج و دوباره وارد شوید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="572"/>
        <source>cannot open {port}[[ ({device})]]: permission denied, and only root may open it; give it to &apos;{group}&apos; with a udev rule (GROUP, MODE=&quot;0660&quot;) and add your user to that group</source>
        <translation>درگاه {port}[[ ({device})]] باز نمی‌شود: اجازهٔ دسترسی نیست و فقط root می‌تواند آن را باز کند؛ با یک قاعدهٔ udev (GROUP, MODE=&quot;0660&quot;) آن را به گروه «{group}» بسپارید و کاربرتان را به آن گروه بیفزایید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="578"/>
        <source>cannot open {port}[[ ({device})]]: permission denied, and only root may open it; give it to a group with a udev rule (GROUP, MODE=&quot;0660&quot;) and add your user to that group</source>
        <translation>درگاه {port}[[ ({device})]] باز نمی‌شود: اجازهٔ دسترسی نیست و فقط root می‌تواند آن را باز کند؛ با یک قاعدهٔ udev (GROUP, MODE=&quot;0660&quot;) آن را به گروهی بسپارید و کاربرتان را به آن گروه بیفزایید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="585"/>
        <source>cannot open {port}[[ ({device})]]: permission denied; add your user to the group &apos;{group}&apos;[[ ({command})]] and log in again</source>
        <translation>درگاه {port}[[ ({device})]] باز نمی‌شود: اجازهٔ دسترسی نیست؛ کاربرتان را به گروه «{group}» بیفزایید[[ ({command})]] و دوباره وارد حساب کاربری شوید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="589"/>
        <location filename="../../common/ProblemKinds.cpp" line="660"/>
        <source>cannot open {port}[[ ({device})]]: {reason}</source>
        <translation>درگاه {port}[[ ({device})]] باز نمی‌شود: {reason}</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="593"/>
        <source>cannot open {port}[[ ({device})]]: the port is in use by another program (another muezzin-cli, or the window); close it and try again</source>
        <translation>درگاه {port}[[ ({device})]] باز نمی‌شود: برنامهٔ دیگری (muezzin-cli دیگری یا همین پنجره) از آن استفاده می‌کند؛ آن را ببندید و دوباره امتحان کنید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="598"/>
        <source>cannot open {port}[[ ({device})]]: the port is in use by {holders}; close it and try again</source>
        <translation>درگاه {port}[[ ({device})]] باز نمی‌شود: {holders} از آن استفاده می‌کند؛ آن را ببندید و دوباره امتحان کنید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="603"/>
        <source>cannot open {port}[[ ({device})]]: the port is in use by {holders}, which probes new adapters for a modem; wait until it lets go, and install the udev rule that keeps it off them (see &apos;muezzin-cli doctor&apos;)</source>
        <translation>درگاه {port}[[ ({device})]] باز نمی‌شود: {holders} از آن استفاده می‌کند؛ این برنامه مبدل‌های تازه را به گمان مودم وارسی می‌کند. صبر کنید تا درگاه را رها کند و قاعدهٔ udev را نصب کنید که آن را از مبدل‌ها دور نگه می‌دارد (راهنما: muezzin-cli doctor)</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="610"/>
        <source>cannot open {port}[[ ({device})]]: the port is in use by {holders}, which takes the adapter for a braille display; remove it ({command}) unless a braille display is used</source>
        <translation>درگاه {port}[[ ({device})]] باز نمی‌شود: {holders} از آن استفاده می‌کند؛ این برنامه مبدل را نمایشگر بریل می‌پندارد. اگر نمایشگر بریل به کار نمی‌برید، آن را حذف کنید ({command})</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="617"/>
        <source>cannot open {port}[[ ({device})]]: its lock file {lock} was left by process {pid}, which no longer runs, and belongs to {owner}, so it cannot be taken over; remove it ({command})</source>
        <translation>درگاه {port}[[ ({device})]] باز نمی‌شود: فایل قفل آن ({lock}) از فرایند {pid} مانده است که دیگر اجرا نمی‌شود، و چون از آنِ {owner} است برنامه نمی‌تواند آن را بردارد؛ آن را پاک کنید ({command})</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="624"/>
        <source>cannot open {port}[[ ({device})]]: it is a folder, not a serial port</source>
        <translation>درگاه {port}[[ ({device})]] باز نمی‌شود: این یک پوشه است، نه درگاه سریال</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="628"/>
        <source>cannot open {port}[[ ({device})]]: it is a FIFO, not a serial port</source>
        <translation>درگاه {port}[[ ({device})]] باز نمی‌شود: این یک FIFO است، نه درگاه سریال</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="632"/>
        <source>cannot open {port}[[ ({device})]]: it is a regular file, not a serial port</source>
        <translation>درگاه {port}[[ ({device})]] باز نمی‌شود: این یک فایل معمولی است، نه درگاه سریال</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="637"/>
        <source>cannot open {port}[[ ({device})]]: it is a socket, not a serial port</source>
        <translation>درگاه {port}[[ ({device})]] باز نمی‌شود: این یک سوکت است، نه درگاه سریال</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="641"/>
        <source>cannot open {port}[[ ({device})]]: it is not a serial port</source>
        <translation>درگاه {port}[[ ({device})]] باز نمی‌شود: این درگاه سریال نیست</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="644"/>
        <source>cannot open {port}[[ ({device})]]: {reason}</source>
        <comment>the port is gone</comment>
        <translation>درگاه {port}[[ ({device})]] باز نمی‌شود: چنین دستگاهی وجود ندارد</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="648"/>
        <source>cannot open {port}[[ ({device})]]: {reason}; the one in the working folder is {here}</source>
        <translation>درگاه {port}[[ ({device})]] باز نمی‌شود: چنین دستگاهی وجود ندارد؛ اگر فایلِ پوشهٔ کاری منظور است، {here} بنویسید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="654"/>
        <source>cannot open {port}[[ ({device})]]: {reason}; brltty&apos;s udev rule {rule} takes the USB serial adapter {adapter} for a braille display, so it gets no port: remove brltty ({command}) and plug the adapter in again</source>
        <translation>درگاه {port}[[ ({device})]] باز نمی‌شود: چنین دستگاهی وجود ندارد؛ قاعدهٔ udev برنامهٔ brltty ({rule}) مبدل سریال USB با شناسهٔ {adapter} را نمایشگر بریل می‌پندارد و درگاهی برای آن ساخته نمی‌شود: brltty را حذف کنید ({command}) و مبدل را دوباره وصل کنید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="662"/>
        <source>no device answered on {ports} port(s)</source>
        <translation>روی {ports} درگاه هیچ دستگاهی پاسخ نداد</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="667"/>
        <source>{path} is missing, and county {county} has no coordinates in the city database (city.db) to compute it from: import them with &apos;muezzin-cli import-cities FILE.csv&apos;, or put the file in its place</source>
        <translation>{path} وجود ندارد و شهرستان {county} در پایگاه دادهٔ شهرها (city.db) مختصاتی ندارد که اوقات شرعی از روی آن محاسبه شود: مختصات را با muezzin-cli import-cities FILE.csv وارد کنید، یا فایل را در جای خود بگذارید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="673"/>
        <source>{path} is missing and could not be saved ({reason}): let this user write there, or write it with &apos;muezzin-timetable --county {county} --from {year} --years 1&apos;</source>
        <translation>{path} وجود ندارد و ذخیره نشد ({reason}): اجازهٔ نوشتن در آنجا را به این کاربر بدهید، یا فایل را با muezzin-timetable --county {county} --from {year} --years 1 بسازید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="679"/>
        <source>{path} cannot be read, and is never replaced: remove it, or write it anew with &apos;muezzin-timetable --county {county} --from {year} --years 1&apos;</source>
        <translation>{path} خوانده نمی‌شود و هرگز جایگزین نمی‌شود: آن را پاک کنید، یا با muezzin-timetable --county {county} --from {year} --years 1 از نو بسازید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="685"/>
        <source>{path} holds less than a year, and is never replaced: remove it, or write it anew with &apos;muezzin-timetable --county {county} --from {year} --years 1&apos;</source>
        <translation>{path} کمتر از یک سال را دارد و هرگز جایگزین نمی‌شود: آن را پاک کنید، یا با muezzin-timetable --county {county} --from {year} --years 1 از نو بسازید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="692"/>
        <source>{confirmed} of {total} blocks confirmed; the configuration is incomplete: run apply again</source>
        <translation>{confirmed} بلوک از {total} بلوک تأیید شد؛ پیکربندی ناقص است: apply را دوباره اجرا کنید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="696"/>
        <source>{confirmed} of {total} blocks confirmed; the configuration is incomplete: apply it again</source>
        <translation>{confirmed} بلوک از {total} بلوک تأیید شد؛ پیکربندی ناقص است: تنظیمات را دوباره به دستگاه بفرستید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="700"/>
        <source>{confirmed} of {total} pages confirmed; the device is left in its upgrade stage: run upgrade again, which greets it there</source>
        <translation>{confirmed} صفحه از {total} صفحه تأیید شد؛ دستگاه در مرحلهٔ ارتقا مانده است: upgrade را دوباره اجرا کنید تا دستگاه را در همان مرحله بیابد</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="705"/>
        <source>the device is left in its upgrade stage: run upgrade again, which greets it there</source>
        <translation>دستگاه در مرحلهٔ ارتقا مانده است: upgrade را دوباره اجرا کنید تا دستگاه را در همان مرحله بیابد</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="709"/>
        <source>{confirmed} of {total} pages confirmed; the device is left in its upgrade stage: run the upgrade again</source>
        <translation>{confirmed} صفحه از {total} صفحه تأیید شد؛ دستگاه در مرحلهٔ ارتقا مانده است: ارتقا را دوباره انجام دهید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="713"/>
        <source>stopped by {signal}</source>
        <translation>با سیگنال {signal} متوقف شد</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="716"/>
        <source>stopped by {signal} before the device was changed</source>
        <translation>با سیگنال {signal} متوقف شد، پیش از آنکه چیزی در دستگاه تغییر کند</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="719"/>
        <source>the device clock was not set: stopped before the clock frame was sent</source>
        <translation>ساعت دستگاه تنظیم نشد: برنامه پیش از فرستادن فریم ساعت متوقف شد</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="725"/>
        <source>no serial port found: plug the adapter in (it shows as /dev/ttyUSB0 or /dev/ttyACM0, or as COM3 on Windows); name others in MUEZZIN_PORTS</source>
        <translation>هیچ درگاه سریالی پیدا نشد: مبدل را وصل کنید (با نام /dev/ttyUSB0 یا /dev/ttyACM0، یا در ویندوز با نام COM3 دیده می‌شود)؛ درگاه‌های دیگر را در MUEZZIN_PORTS نام ببرید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="731"/>
        <source>running (PID {pid}) and not kept off {families} adapters: it probes them for a modem when they are plugged in, and the device&apos;s first replies are lost; install the udev rule {rule}, or stop it ({command})</source>
        <translation>در حال اجراست (PID {pid}) و از مبدل‌های {families} دور نگه داشته نشده است: هنگام وصل شدن مبدل آن را به گمان مودم وارسی می‌کند و نخستین پاسخ‌های دستگاه از دست می‌رود؛ قاعدهٔ udev {rule} را نصب کنید، یا آن را متوقف کنید ({command})</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="739"/>
        <source>{claims}: such an adapter is taken for a braille display and gets no serial port; remove brltty ({command}) unless a braille display is used, and plug the adapter in again</source>
        <translation>{claims}: چنین مبدلی نمایشگر بریل پنداشته می‌شود و درگاه سریالی نمی‌گیرد؛ اگر نمایشگر بریل به کار نمی‌برید، brltty را حذف کنید ({command}) و مبدل را دوباره وصل کنید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="746"/>
        <source>{milliseconds} ms, which every reply waits for: the udev rule {rule} sets 1 ms when the adapter is plugged in; install it and plug the adapter in again (or now: echo 1 | {command})</source>
        <translation>{milliseconds} میلی‌ثانیه، که هر پاسخ به اندازهٔ آن منتظر می‌ماند: قاعدهٔ udev {rule} هنگام وصل شدن مبدل آن را 1 میلی‌ثانیه می‌کند؛ آن را نصب کنید و مبدل را دوباره وصل کنید (یا همین حالا: echo 1 | {command})</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="753"/>
        <source>{rule} does not keep ModemManager off {families} adapters: it is older than this tool; install this tool&apos;s rule in its place</source>
        <translation>{rule} برنامهٔ ModemManager را از مبدل‌های {families} دور نگه نمی‌دارد: از این ابزار قدیمی‌تر است؛ قاعدهٔ همین ابزار را به جای آن نصب کنید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="757"/>
        <source>installed as {rule}, where udev does not read it: copy it to /etc/udev/rules.d ({command}) and plug the adapter in again</source>
        <translation>در {rule} نصب شده است که udev آنجا را نمی‌خواند: آن را در /etc/udev/rules.d کپی کنید ({command}) و مبدل را دوباره وصل کنید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="762"/>
        <source>{rule} is not installed: it keeps ModemManager off the adapters and lowers the FTDI latency timer; install the tool&apos;s package, or copy packaging/{rule} to /etc/udev/rules.d</source>
        <translation>{rule} نصب نیست: این قاعده ModemManager را از مبدل‌ها دور نگه می‌دارد و latency timer مبدل‌های FTDI را پایین می‌آورد؛ بستهٔ این ابزار را نصب کنید، یا packaging/{rule} را در /etc/udev/rules.d کپی کنید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="769"/>
        <source>missing from {folder}: the province list; copy it there, or name the folder that holds it with --folder DIR</source>
        <translation>فهرست استان‌ها در {folder} نیست؛ آن را در این پوشه کپی کنید، یا پوشه‌ای را که آن را دارد با --folder DIR نام ببرید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="774"/>
        <source>missing from {folder}: the city database (see import-cities); copy it there, or name the folder that holds it with --folder DIR</source>
        <translation>پایگاه دادهٔ شهرها در {folder} نیست (راهنما: import-cities)؛ آن را در این پوشه کپی کنید، یا پوشه‌ای را که آن را دارد با --folder DIR نام ببرید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="779"/>
        <source>missing from {folder}: the key table; copy it there, or name the folder that holds it with --folder DIR</source>
        <translation>جدول کلید در {folder} نیست؛ آن را در این پوشه کپی کنید، یا پوشه‌ای را که آن را دارد با --folder DIR نام ببرید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="784"/>
        <source>empty: it lists no province</source>
        <translation>خالی است: هیچ استانی را نام نمی‌برد</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="788"/>
        <source>{cause}; build it again with muezzin-cli import-cities</source>
        <translation>{cause}؛ آن را با muezzin-cli import-cities دوباره بسازید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="790"/>
        <source>table city holds no county; build it again with muezzin-cli import-cities</source>
        <translation>جدول city هیچ شهرستانی ندارد؛ آن را با muezzin-cli import-cities دوباره بسازید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="796"/>
        <source>{path} is not a folder: the timetable files (data/&lt;province&gt;/&lt;city&gt;/&lt;county&gt;/&lt;year&gt;.PTL) go there; move it out of the way</source>
        <translation>{path} پوشه نیست: فایل‌های اوقات شرعی (data/&lt;province&gt;/&lt;city&gt;/&lt;county&gt;/&lt;year&gt;.PTL) آنجا نوشته می‌شوند؛ آن را از سر راه بردارید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="802"/>
        <source>no file can be made in {path} ({reason}): the timetables of later years cannot be written there; give this user write permission</source>
        <translation>در {path} هیچ فایلی ساخته نمی‌شود ({reason}): اوقات شرعی سال‌های بعد آنجا نوشته نمی‌شود؛ به این کاربر اجازهٔ نوشتن بدهید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="809"/>
        <source>[[{found}; ]]{missing} missing, and the county has no coordinates in the city database to compute them from: import them with &apos;muezzin-cli import-cities FILE.csv&apos;, or put the files in {folder}</source>
        <translation>[[{found}؛ ]]سال‌های {missing} نیست و شهرستان در پایگاه دادهٔ شهرها مختصاتی ندارد که از روی آن محاسبه شوند: مختصات را با muezzin-cli import-cities FILE.csv وارد کنید، یا فایل‌ها را در {folder} بگذارید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="815"/>
        <source>[[{found}; ]]{unusable} in {folder} cannot be read or are short, and are never replaced: remove them, or write them anew with &apos;muezzin-timetable --county {county} --from YEAR --years 1&apos;</source>
        <translation>[[{found}؛ ]]سال‌های {unusable} در {folder} خوانده نمی‌شوند یا ناقص‌اند و هرگز جایگزین نمی‌شوند: آن‌ها را پاک کنید، یا با muezzin-timetable --county {county} --from YEAR --years 1 از نو بسازید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="821"/>
        <source>[[{found}; ]]{missing} missing, and the county has no coordinates in the city database to compute them from: import them with &apos;muezzin-cli import-cities FILE.csv&apos;, or put the files in {folder}; {unusable} in {folder} cannot be read or are short, and are never replaced: remove them, or write them anew with &apos;muezzin-timetable --county {county} --from YEAR --years 1&apos;</source>
        <translation>[[{found}؛ ]]سال‌های {missing} نیست و شهرستان در پایگاه دادهٔ شهرها مختصاتی ندارد که از روی آن محاسبه شوند: مختصات را با muezzin-cli import-cities FILE.csv وارد کنید، یا فایل‌ها را در {folder} بگذارید؛ سال‌های {unusable} در {folder} خوانده نمی‌شوند یا ناقص‌اند و هرگز جایگزین نمی‌شوند: آن‌ها را پاک کنید، یا با muezzin-timetable --county {county} --from YEAR --years 1 از نو بسازید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="830"/>
        <source>{path} cannot be added to ({reason}): the event log would be lost; make it a file this user may write</source>
        <translation>به {path} چیزی افزوده نمی‌شود ({reason}): رویدادها از دست می‌رود؛ آن را فایلی کنید که این کاربر اجازهٔ نوشتنش را دارد</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="836"/>
        <source>no font has the Persian letters, and the window would show empty boxes; install fonts-noto-ui-core</source>
        <translation>هیچ قلمی حروف فارسی را ندارد و پنجره به جای آن‌ها مربع خالی نشان می‌دهد؛ بستهٔ fonts-noto-ui-core را نصب کنید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="841"/>
        <source>no font has the Persian letters, and the window would show empty boxes; install Tahoma, or Noto Sans Arabic UI</source>
        <translation>هیچ قلمی حروف فارسی را ندارد و پنجره به جای آن‌ها مربع خالی نشان می‌دهد؛ قلم Tahoma یا Noto Sans Arabic UI را نصب کنید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="848"/>
        <source>{port}: took over the lock file {lock}, left by process {pid}, which no longer runs</source>
        <translation>{port}: فایل قفل {lock} را که فرایند {pid} بر جا گذاشته بود و دیگر اجرا نمی‌شود، برداشت</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="853"/>
        <source>{port} is open in {holders} too, which may have taken the reply; close it and try again</source>
        <translation>{port} در {holders} هم باز است و شاید پاسخ دستگاه را آن گرفته باشد؛ آن را ببندید و دوباره امتحان کنید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="858"/>
        <source>also open in {holders}, which would take the device&apos;s replies; close it before a run</source>
        <translation>در {holders} هم باز است که پاسخ‌های دستگاه را می‌گیرد؛ پیش از اجرا آن را ببندید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="862"/>
        <source>{port} and {other} are the same device; it is served once, as {port}</source>
        <translation>{port} و {other} یک دستگاه‌اند؛ این دستگاه یک بار و با نام {port} به کار گرفته می‌شود</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="867"/>
        <source>the tool&apos;s files are looked for in {folder} (--folder); name another folder with --folder DIR</source>
        <translation>فایل‌های برنامه در {folder} جست‌وجو می‌شوند (از گزینهٔ --folder)؛ پوشهٔ دیگری را با --folder DIR نام ببرید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="872"/>
        <source>the tool&apos;s files are looked for in {folder} (the working directory); name another folder with --folder DIR</source>
        <translation>فایل‌های برنامه در {folder} جست‌وجو می‌شوند (پوشهٔ کاری)؛ پوشهٔ دیگری را با --folder DIR نام ببرید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="877"/>
        <source>the tool&apos;s files are looked for in {folder} (the user&apos;s data folder); name another folder with --folder DIR</source>
        <translation>فایل‌های برنامه در {folder} جست‌وجو می‌شوند (پوشهٔ داده‌های کاربر)؛ پوشهٔ دیگری را با --folder DIR نام ببرید</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="884"/>
        <source>the PC&apos;s time zone is UTC{offset}, not Iran Standard Time (UTC+03:30), which the device keeps and its timetables are written in: the device gets the PC&apos;s clock as it reads; set the time zone to Asia/Tehran (&apos;timedatectl set-timezone Asia/Tehran&apos;; on Windows &quot;(UTC+03:30) Tehran&quot;)</source>
        <translation>منطقهٔ زمانی رایانه UTC{offset} است، نه وقت رسمی ایران (UTC+03:30) که دستگاه نگه می‌دارد و اوقات شرعی با آن نوشته شده‌اند: دستگاه ساعت رایانه را همان‌گونه که هست می‌گیرد؛ منطقهٔ زمانی را Asia/Tehran کنید (timedatectl set-timezone Asia/Tehran؛ در ویندوز منطقهٔ «(UTC+03:30) Tehran» را برگزینید)</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="892"/>
        <source>the PC&apos;s time-zone data still keeps Iran&apos;s daylight saving, which ended in {last_year} (it does in {year}): while it does, the device gets the PC&apos;s clock an hour back, an hour wrong if the clock was set back by hand to match; update the time-zone data (Debian&apos;s tzdata; on Windows the system&apos;s updates)</source>
        <translation>داده‌های منطقهٔ زمانی رایانه هنوز ساعت تابستانی ایران را دارد که در {last_year} برداشته شد (در سال {year} هم دارد): در آن مدت دستگاه ساعت رایانه را یک ساعت عقب‌تر می‌گیرد، و اگر ساعت رایانه با دست عقب کشیده شده باشد یک ساعت اشتباه؛ داده‌های منطقهٔ زمانی را به‌روز کنید (بستهٔ tzdata دبیان؛ در ویندوز به‌روزرسانی‌های سیستم)</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="901"/>
        <source>county {county} has approximate coordinates: the centre of the county, not its seat; times may differ by a minute or two</source>
        <translation>مختصات شهرستان {county} تقریبی است: مرکز جغرافیایی پهنهٔ شهرستان، نه شهر مرکز آن؛ اوقات ممکن است یکی دو دقیقه فرق کند</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="906"/>
        <source>approximate coordinates for {name}: the centre of the county, not its seat; times may differ by a minute or two</source>
        <translation>مختصات {name} تقریبی است: مرکز جغرافیایی پهنهٔ شهرستان، نه شهر مرکز آن؛ اوقات ممکن است یکی دو دقیقه فرق کند</translation>
    </message>
    <message>
        <location filename="../../common/ProblemKinds.cpp" line="912"/>
        <source>cannot write {path}: no picture format has that name</source>
        <translation>{path} نوشته نمی‌شود: هیچ قالب تصویری با این پسوند نیست</translation>
    </message>
</context>
<context>
    <name>TForm1</name>
    <message>
        <location filename="../AppTexts.h" line="77"/>
        <source>no device connected: connect the device and wait for the green lamp</source>
        <translation>دستگاهی وصل نیست: دستگاه را وصل کنید و منتظر بمانید تا چراغ سبز شود</translation>
    </message>
    <message>
        <location filename="../AppTexts.h" line="83"/>
        <source>The tool&apos;s files are in {folder}</source>
        <translation>پوشهٔ فایل‌های برنامه: {folder}</translation>
    </message>
    <message>
        <location filename="../AppTexts.h" line="94"/>
        <source>the device holds no settings: it has never been configured</source>
        <translation>تنظیماتی در دستگاه ذخیره نشده است؛ دستگاه هنوز پیکربندی نشده است</translation>
    </message>
</context>
<context>
    <name>TimetableDialog</name>
    <message>
        <location filename="../AppTexts.h" line="120"/>
        <source>not a time of day</source>
        <translation>زمان نامعتبر</translation>
    </message>
    <message>
        <location filename="../AppTexts.h" line="123"/>
        <source>%1 days, every time a time of day</source>
        <translation>%1 روز، همهٔ زمان‌ها معتبر</translation>
    </message>
    <message>
        <location filename="../AppTexts.h" line="126"/>
        <source>%1 days; %2 times are not times of day (marked)</source>
        <translation>%1 روز؛ %2 زمان نامعتبر (نشان‌دار)</translation>
    </message>
    <message>
        <location filename="../AppTexts.h" line="130"/>
        <source>; %1 place(s) of the file not in this year (grey)</source>
        <translation>؛ %1 ردیف خاکستری جای روزهایی است که این سال ندارد</translation>
    </message>
    <message>
        <location filename="../AppTexts.h" line="116"/>
        <source>not a day of this year: the device never uses it</source>
        <translation>روزی از این سال نیست؛ دستگاه هرگز آن را به کار نمی‌برد</translation>
    </message>
    <message>
        <location filename="../AppTexts.h" line="138"/>
        <source>Year:</source>
        <translation>سال:</translation>
    </message>
    <message>
        <location filename="../AppTexts.h" line="141"/>
        <source>Print / save as PDF...</source>
        <translation>چاپ / ذخیره به صورت PDF...</translation>
    </message>
    <message>
        <location filename="../AppTexts.h" line="144"/>
        <source>Dawn at %1°, sunrise and sunset at %2°, maghrib at %3° below the horizon</source>
        <translation>اذان صبح در %1 درجه، طلوع و غروب آفتاب در %2 درجه و اذان مغرب در %3 درجه زیر افق</translation>
    </message>
    <message>
        <location filename="../AppTexts.h" line="149"/>
        <source>Times in Iran Standard Time (UTC+03:30), which the device keeps all year</source>
        <translation>ساعت‌ها به وقت رسمی ایران (UTC+03:30) که دستگاه در تمام سال نگه می‌دارد</translation>
    </message>
    <message>
        <location filename="../AppTexts.h" line="154"/>
        <source>The county lies at latitude %1, longitude %2</source>
        <translation>عرض جغرافیایی شهرستان %1 و طول جغرافیایی آن %2</translation>
    </message>
    <message>
        <location filename="../AppTexts.h" line="158"/>
        <source>The county has no coordinates in the city database</source>
        <translation>شهرستان در پایگاه داده شهرها طول و عرض جغرافیایی ندارد</translation>
    </message>
</context>
<context>
    <name>Translations</name>
    <message>
        <location filename="../AppTexts.h" line="189"/>
        <source>Qt&apos;s dialogs stay in English: its Persian translation qtbase_fa is missing (install qt6-translations-l10n)</source>
        <translation>کادرهای گفت‌وگوی Qt انگلیسی می‌مانند: ترجمهٔ فارسی آن (qtbase_fa) نصب نیست (بستهٔ qt6-translations-l10n را نصب کنید)</translation>
    </message>
</context>
</TS>
