#include "location/StartFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(StartFolderSource)

namespace {

const QStringList SampleFiles = {QStringLiteral("ostan.txt"), QStringLiteral("city.db"),
                                 QStringLiteral("encryp.key"),
                                 QStringLiteral("data/24/34/41/1404.PTL")};
const QByteArray SampleBytes = "as shipped";
const QByteArray UserBytes = "the user's own";

bool Write(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

// Every file under the folder, relative to it.
QStringList FilesUnder(const QString& folder) {
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        files.append(QDir(folder).relativeFilePath(it.next()));
    }
    files.sort();
    return files;
}

} // namespace

class StartFolderTest : public QObject {
    Q_OBJECT

private slots:
    void choice_data() {
        QTest::addColumn<QString>("flag");
        QTest::addColumn<QStringList>("workingFiles");
        QTest::addColumn<QStringList>("userFiles"); // the data folder's; "-" for no folder
        QTest::addColumn<bool>("sampleInstalled");
        QTest::addColumn<bool>("parentIsFile"); // a file where the data folder's parent should be
        QTest::addColumn<StartFolderSource>("source");
        QTest::addColumn<bool>("problem");
        QTest::addColumn<QStringList>("copied"); // sample files the data folder holds afterwards
        using S = StartFolderSource;
        const QStringList none;
        const QStringList absent = {QStringLiteral("-")};
        const QStringList rest = {"data/24/34/41/1404.PTL", "encryp.key"};

        QTest::newRow("flag, the working directory has files")
            << "chosen" << QStringList{"ostan.txt"} << absent << true << false << S::Flag << false
            << none;
        QTest::newRow("working directory with the province list")
            << "" << QStringList{"ostan.txt"} << absent << true << false << S::WorkingDirectory
            << false << none;
        QTest::newRow("working directory with the city database")
            << "" << QStringList{"city.db"} << absent << true << false << S::WorkingDirectory
            << false << none;
        QTest::newRow("no data folder yet") << "" << QStringList{"log.txt"} << absent << true
                                            << false << S::DataFolder << false << SampleFiles;
        QTest::newRow("data folder empty")
            << "" << none << none << true << false << S::DataFolder << false << SampleFiles;
        QTest::newRow("data folder partly filled")
            << "" << none << QStringList{"ostan.txt", "log.txt"} << true << false << S::DataFolder
            << false << rest + QStringList{"city.db"};
        QTest::newRow("data folder holds both: left alone")
            << "" << none << QStringList{"ostan.txt", "city.db"} << true << false << S::DataFolder
            << false << none;
        QTest::newRow("data folder cannot be created")
            << "" << none << absent << true << true << S::DataFolder << true << none;
        QTest::newRow("data folder cannot take the sample's files")
            << "" << none << QStringList{"data", "log.txt"} << true << false << S::DataFolder
            << true << none;
        QTest::newRow("installed sample missing")
            << "" << none << absent << false << false << S::DataFolder << true << none;
    }

    // Which folder is chosen, what the data folder holds afterwards, and that a failed copy
    // leaves nothing half-done behind: no temporary folder, no province list that would make
    // the folder count as filled, every file of the user's as it was.
    void choice() {
        QFETCH(QString, flag);
        QFETCH(QStringList, workingFiles);
        QFETCH(QStringList, userFiles);
        QFETCH(bool, sampleInstalled);
        QFETCH(bool, parentIsFile);
        QFETCH(StartFolderSource, source);
        QFETCH(bool, problem);
        QFETCH(QStringList, copied);
        QTemporaryDir root;
        StartFolderPlaces places;
        places.Flag = flag;
        places.WorkingDirectory = root.filePath(QStringLiteral("work"));
        places.DataFolder = root.filePath(QStringLiteral("home/share/muezzin-config"));
        places.InstalledSample = root.filePath(QStringLiteral("usr/share/muezzin-config/sample"));
        QVERIFY(QDir().mkpath(places.WorkingDirectory));
        for (const QString& name : workingFiles) {
            QVERIFY(Write(places.WorkingDirectory + u'/' + name, UserBytes));
        }
        if (userFiles != QStringList{QStringLiteral("-")}) {
            QVERIFY(QDir().mkpath(places.DataFolder));
            for (const QString& name : userFiles) {
                QVERIFY(Write(places.DataFolder + u'/' + name, UserBytes));
            }
        }
        if (parentIsFile) {
            QVERIFY(Write(root.filePath(QStringLiteral("home/share")), UserBytes));
        }
        if (sampleInstalled) {
            for (const QString& name : SampleFiles) {
                QVERIFY(Write(places.InstalledSample + u'/' + name, SampleBytes));
            }
        }

        const StartFolderChoice choice = ChooseStartFolder(places);

        QCOMPARE(choice.Source, source);
        const QString expected =
            source == StartFolderSource::Flag               ? places.WorkingDirectory + u'/' + flag
            : source == StartFolderSource::WorkingDirectory ? places.WorkingDirectory
                                                            : places.DataFolder;
        QCOMPARE(choice.Folder, expected + u'/');
        QCOMPARE(!choice.SetUpProblem.IsEmpty(), problem);
        QCOMPARE(choice.Seeded, !copied.isEmpty());
        if (problem) {
            QCOMPARE(choice.SetUpProblem.Kind, QStringLiteral("start-folder"));
            QCOMPARE(choice.SetUpProblem.Values.value(QStringLiteral("folder")).toString(),
                     QDir::toNativeSeparators(places.DataFolder));
            QVERIFY(ProblemText(choice.SetUpProblem, Wording::English)
                        .contains(QStringLiteral("--folder")));
        }
        QStringList expectedFiles = copied;
        if (userFiles != QStringList{QStringLiteral("-")}) {
            expectedFiles += userFiles;
        }
        expectedFiles.sort();
        if (!parentIsFile) {
            QCOMPARE(FilesUnder(places.DataFolder), expectedFiles);
            QCOMPARE(QDir(root.filePath(QStringLiteral("home/share")))
                         .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                     expectedFiles.isEmpty() && !QFileInfo::exists(places.DataFolder)
                         ? QStringList()
                         : QStringList{QStringLiteral("muezzin-config")});
        }
        for (const QString& name : expectedFiles) {
            QCOMPARE(Read(places.DataFolder + u'/' + name),
                     copied.contains(name) ? SampleBytes : UserBytes);
        }
        for (const QString& name : workingFiles) {
            QCOMPARE(Read(places.WorkingDirectory + u'/' + name), UserBytes);
        }
    }
};

QTEST_GUILESS_MAIN(StartFolderTest)
#include "tst_startfolder.moc"
