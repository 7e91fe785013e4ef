// The window's device operations: the upload, the clock, the stored settings, the firmware
// upgrade and the timetable view, with the operation host they report through.
#include "app/AppTexts.h"
#include "app/EventLog.h"
#include "app/LocationBoxes.h"
#include "app/TForm1.h"
#include "app/TimetableView.h"
#include "common/StopSignals.h"
#include "common/UserError.h"
#include "device/ClockCommands.h"
#include "device/DeviceTexts.h"
#include "device/ReadBack.h"
#include "device/Upgrade.h"
#include "device/Upload.h"
#include "ui_TForm1.h"

#include <QBackingStore>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QSlider>
#include <QTimer>
#include <QWindow>

// --- the upload -------------------------------------------------------------------------

// The controls are found by the names the table of settings fields gives them.
SettingsFields TForm1::Fields() const {
    SettingsFields f;
    for (const SettingsField& field : SettingsFieldTable) {
        const QString name = QLatin1String(field.Control);
        if (field.Text) {
            f.*field.Text = findChild<QLineEdit*>(name)->text();
        } else if (field.Level) {
            f.*field.Level = findChild<QSlider*>(name)->value();
        } else if (field.Checked) {
            f.*field.Checked = findChild<QCheckBox*>(name)->isChecked();
        }
    }
    return f;
}

void TForm1::BitBtn1Click() {
    const UploadInput input = UploadInputOf(Fields(), location_, startFolder_);
    try {
        // Nothing is read or computed for a device that is not there; the run says so.
        const UploadResult result =
            RunUpload(link_, *this,
                      link_.Connected ? PrepareUpload(input, clock_.SolarYear) : PreparedUpload{});
        if (result.Interrupted()) {
            log_->AppendWords(u' ' +
                              IncompleteApplyWords(result.BlocksConfirmed, UploadBlockCount));
        }
    } catch (const OperationStopped&) {
        // The stop signal's watch winds the window down once the handler has returned.
    } catch (const SettingsError& error) {
        ShowError(WindowWords(error.Reported()));
        if (auto* field = findChild<QWidget*>(error.Control())) {
            field->setFocus();
        }
    } catch (const UserError& error) {
        ShowError(WindowWords(error.Reported()));
    }
}

void TForm1::SetProgressRange(int maximum) {
    ui->ProgressBar1->setRange(0, maximum);
}

void TForm1::SetProgressPosition(int position) {
    ui->ProgressBar1->setValue(position);
}

void TForm1::SetProgressVisible(bool visible) {
    ui->ProgressBar1->setVisible(visible);
}

// An operation stops at its message once a signal has arrived, before the box or while it was
// open: by then the signal's watch may have closed the port under it. At a repaint it goes on: its
// link sends nothing more, and it ends on its own, saying what the device holds.
void TForm1::ShowMessage(const QString& text) {
    ShowMessageBox(windowTitle(), text);
    StopIfSignalled();
}

void TForm1::StopIfSignalled() const {
    if (const int signal = StopSignal()) {
        throw OperationStopped{signal};
    }
}

// The operation holds the thread, so neither paint nor expose events are handled. What changed
// is painted now (a widget just shown asks through a posted event), and then the whole window goes
// on the screen: Qt puts there only what it painted, and an area a closed window uncovered (the
// upgrade's file dialog) would otherwise keep that window's remains until the run ends.
void TForm1::RepaintNow() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateLater);
    QEvent paintPending(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(this, &paintPending);
    QWindow* shown = windowHandle();
    if (QBackingStore* store = backingStore(); store && shown && shown->isExposed()) {
        store->flush(QRegion(rect()), shown);
    }
}

void TForm1::PauseMonitor() {
    Timer2->stop();
}

void TForm1::ResumeMonitor() {
    Timer2->start();
}

// --- the clock and the stored settings ------------------------------------------------

// A frame sent with no device would go to whatever port is open, or nowhere, unnoticed.
void TForm1::N12Click() {
    if (!link_.Connected) {
        SetStatusText(NoDeviceText());
        return;
    }
    const bool sent = SetDeviceClock(link_, clock_);
    SetStatusText(ClockSetText(clock_, sent));
}

void TForm1::N2Click() {
    if (!link_.Connected) {
        SetStatusText(NoDeviceText());
        return;
    }
    Timer2->stop();
    const std::optional<SettingsBlock> block = ReadStoredSettings(link_);
    if (block && HoldsNoSettings(*block)) {
        // An erased device's bytes are no settings: the fields keep what they show.
        SetStatusText(NoSettingsText());
    } else if (block) {
        ui->BitBtn1->setEnabled(true);
        ShowStoredSettings(DecodeSettingsBlock(*block));
        AppendLogLine(SettingsReceivedText);
    }
    Timer2->start();
}

// The boxes go to the stored county when the database has it, and the fields show what the
// device holds.
void TForm1::ShowStoredSettings(const StoredSettings& stored) {
    if (const std::optional<QString> problem =
            locationBoxes_->ShowStoredCounty(stored.CountyIndex)) {
        SetStatusText(*problem);
    }
    ShowFields(stored.Fields);
    ui->LabeledEdit3->setText(QString::number(stored.CountyIndex));
}

void TForm1::ShowFields(const SettingsFields& f) {
    for (const SettingsField& field : SettingsFieldTable) {
        const QString name = QLatin1String(field.Control);
        if (field.Text) {
            findChild<QLineEdit*>(name)->setText(f.*field.Text);
        } else if (field.Level) {
            findChild<QSlider*>(name)->setValue(f.*field.Level);
        } else if (field.Checked) {
            findChild<QCheckBox*>(name)->setChecked(f.*field.Checked);
        }
    }
}

// --- the firmware upgrade -----------------------------------------------------------------

void TForm1::N13Click() {
    PauseMonitor();
    const QString path = fileChooser_ ? fileChooser_()
                                      : QFileDialog::getOpenFileName(this, QString(), startFolder_,
                                                                     FirmwareFilterText);
    if (path.isEmpty()) {
        ResumeMonitor();
        SetProgressVisible(false);
        return;
    }
    try {
        const UpgradeResult result = RunUpgrade(
            link_, *this, path, RecoveryPortName(link_, CandidatePorts(portSources_), QString()));
        if (result.Interrupted()) {
            log_->AppendWords(u' ' +
                              UpgradeStageLeftWords(result.PagesConfirmed, FirmwarePageCount));
        }
        if (!result.InputError()) {
            upgradeStageLeft_ = result.InUpgradeStage && !result.Completed;
        }
    } catch (const OperationStopped&) {
        // The stop signal's watch winds the window down once the handler has returned.
    }
}

void TForm1::TimetableViewClick() {
    const QString& folder = location_.TimetableFolder;
    if (folder.isEmpty()) {
        ShowError(ChooseCountyText);
        return;
    }
    const int first = clock_.SolarYear;
    const std::optional<CountyPlace> place = CountyPlace{location_.Latitude, location_.Longitude};
    const CompletedYears completed =
        CompleteTimetableYears(folder, first, TimetableYearCount, place);
    if (!completed.Computed.empty()) {
        AppendLogLine(ComputedYearsText(completed.Computed, location_.CountyIndex));
    }
    std::vector<TimetableYearView> years;
    for (int year = first; year < first + TimetableYearCount; ++year) {
        const YearBlockResult loaded = LoadYearBlock(folder, year);
        TimetableYearView view{year, {}, {}};
        if (loaded.Status == YearFileStatus::Loaded) {
            view.Block = loaded.Block;
        } else {
            view.Problem =
                YearFileProblemText(loaded.Status, year).trimmed() + u'\n' +
                WindowWords(YearGapProblem(completed, year, location_.CountyIndex, loaded.Path,
                                           loaded.Status == YearFileStatus::Missing));
        }
        years.push_back(view);
    }
    auto* dialog = new TimetableDialog({ui->Combo3->currentText(), place}, std::move(years),
                                       {clock_.SolarMonth, clock_.SolarDay}, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}
