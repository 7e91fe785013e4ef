#include "comm/Frame.h"
#include "tests/PortableCases.h"

#include <QTest>
#include <numeric>
#include <vector>

Q_DECLARE_METATYPE(std::vector<std::uint8_t>)

class FrameTest : public QObject {
    Q_OBJECT

private slots:
    void lengthByte_data() {
        QTest::addColumn<int>("dataCount");
        QTest::addColumn<int>("length"); // -1: the layout cannot carry it
        QTest::addColumn<int>("frameSize");
        for (const cases::FrameLength& row : cases::FrameLengths) {
            QTest::newRow(row.Name) << row.DataCount << row.Length << row.FrameSize;
        }
    }

    void lengthByte() {
        QFETCH(int, dataCount);
        QFETCH(int, length);
        QFETCH(int, frameSize);
        const auto got = frame::LengthFor(static_cast<std::size_t>(dataCount));
        QCOMPARE(got.has_value(), length >= 0);
        if (got) {
            QCOMPARE(int{*got}, length);
            QCOMPARE(frame::DataCountFor(*got).value(), static_cast<std::size_t>(dataCount));
        }
        QCOMPARE(frame::FrameSize(static_cast<std::size_t>(dataCount)),
                 static_cast<std::size_t>(frameSize));
    }

    void dataCountRejectsShortLength() {
        for (int length = 0; length < 4; ++length) {
            QVERIFY(!frame::DataCountFor(static_cast<std::uint8_t>(length)));
        }
    }

    void composeBlockWrite() {
        std::array<std::uint8_t, frame::BufferSize> buffer{};
        buffer.fill(0xEE);
        std::vector<std::uint8_t> data(128);
        std::iota(data.begin(), data.end(), std::uint8_t{0});
        const auto size = frame::Compose(buffer, frame::command::BlockWrite, 0x91, 0x80, data);
        QCOMPARE(size.value(), std::size_t{134});
        const std::vector<std::uint8_t> header(buffer.begin(), buffer.begin() + 6);
        QCOMPARE(header, (std::vector<std::uint8_t>{0x55, 0xAA, 0x03, 0x91, 0x80, 0x84}));
        QVERIFY(std::equal(data.begin(), data.end(), buffer.begin() + 6));
        QCOMPARE(int{buffer[134]}, 0xEE); // nothing written past the frame
    }

    void composePage() {
        std::array<std::uint8_t, frame::BufferSize> buffer{};
        const std::vector<std::uint8_t> data(256, 0x5A);
        const auto size = frame::Compose(buffer, frame::command::WritePage, 7, 3, data);
        QCOMPARE(size.value(), std::size_t{262});
        QCOMPARE(int{buffer[frame::LengthAt]}, 0xFF);
        QCOMPARE(int{buffer[261]}, 0x5A);
    }

    void composeRefusesWhatDoesNotFit() {
        std::array<std::uint8_t, 10> small{};
        const std::vector<std::uint8_t> data(5, 1);
        QVERIFY(!frame::Compose(small, 0x01, 0, 0, data));
        QCOMPARE(small, (std::array<std::uint8_t, 10>{}));
        std::array<std::uint8_t, frame::BufferSize> buffer{};
        QVERIFY(!frame::Compose(buffer, 0x01, 0, 0, std::vector<std::uint8_t>(251)));
    }

    // The single data byte of these fixed frames makes the four bytes before it sum to 0.
    void fixedFramesCarryTheirCheckByte_data() {
        QTest::addColumn<std::vector<std::uint8_t>>("bytes");
        QTest::newRow("probe") << std::vector<std::uint8_t>(frame::ProbeFrame.begin(),
                                                            frame::ProbeFrame.end());
        QTest::newRow("probe reply")
            << std::vector<std::uint8_t>(frame::ProbeReply.begin(), frame::ProbeReply.end());
        QTest::newRow("version query") << std::vector<std::uint8_t>(
            frame::VersionQueryFrame.begin(), frame::VersionQueryFrame.end());
    }

    void fixedFramesCarryTheirCheckByte() {
        QFETCH(std::vector<std::uint8_t>, bytes);
        QCOMPARE(bytes.size(), std::size_t{7});
        QCOMPARE(int{bytes[frame::LengthAt]}, 5);
        const int sum = bytes[2] + bytes[3] + bytes[4] + bytes[5] + bytes[6];
        QCOMPARE(sum % 256, 0);
    }

    void fixedFramesMatchTheirLayout() {
        std::array<std::uint8_t, frame::BufferSize> buffer{};
        const std::array<std::uint8_t, 1> zero = {0};
        QCOMPARE(frame::Compose(buffer, frame::command::Clock, 0x0F, 0x0E, zero).value(),
                 frame::ReadSettingsFrame.size());
        QVERIFY(std::equal(frame::ReadSettingsFrame.begin(), frame::ReadSettingsFrame.end(),
                           buffer.begin()));
    }
};

QTEST_APPLESS_MAIN(FrameTest)
#include "tst_frame.moc"
