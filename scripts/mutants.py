#!/usr/bin/env python3
"""make mutants: deliberate faults that the tests must catch.

Each fault names a file, an exact piece of its text (which must occur once), what replaces it,
the test binaries that must fail and, optionally, a GoogleTest filter. The tree is copied under
build/mutants/src and built there (without optimisation, so a fault costs one file and a link);
the working tree is never touched. Every fault is applied in the copy, the named binaries are
rebuilt and run, and the file is put back. A fault is caught when a run fails or times out.

    scripts/mutants.py              every fault
    scripts/mutants.py saver dialog only faults whose name contains one of the words
    scripts/mutants.py --list       the faults, without building
    scripts/mutants.py --check      that every fault's text still occurs once, without building

Exit status: 0 when every fault chosen was caught, 1 when one was missed or no longer applies
(its text changed: the list must follow the code), 2 when the unchanged tree does not pass.
"""
import filecmp
import os
import shutil
import subprocess
import sys
import time
from dataclasses import dataclass, field

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SCRATCH = os.path.join(ROOT, "build", "mutants")
SOURCE = os.path.join(SCRATCH, "src")
BINARY = os.path.join(SOURCE, "build", "mutants")
# A faulty binary that runs this many times longer than the unchanged one (and at least
# MIN_TIMEOUT seconds) counts as hanging: a dropped loop exit must not cost ten minutes.
TIMEOUT_FACTOR, MIN_TIMEOUT = 10, 60
usual_seconds = {}  # (binary, filter) -> how long the unchanged tree's run took


@dataclass
class Fault:
    name: str
    file: str
    find: str
    replace: str
    tests: list
    filter: str = "*"
    more: list = field(default_factory=list)  # further (find, replace) pairs in the same file


# Binaries: which test target covers which folder.
OFFICE, TRANSFER, DIALOGS, CONTROL = "office_tests", "transfer_tests", "dialogs_tests", "control_tests"
DRIVING, PERSISTENCE, CONNECTIONS = "transfer_driving_tests", "persistence_tests", "connections_tests"
AUTOMATION, COMPANIONS, SIMULATOR = "automation_tests", "companions_tests", "simulator_tests"
ABOUT = "about_tests"
VIEWS = "office_views_tests"
PROGRAM = ["zel", "zel_program_tests"]

FAULTS = [
    # --- the saved workbook ---------------------------------------------------------------------
    Fault("saver: black saved as no colour", "platform/office/excel/WorkbookSaver.cpp",
          "return rgb == 0x000000 ? lxw_color_t{LXW_COLOR_BLACK} : rgb;", "return rgb;", [OFFICE], "ChartSaverTest.*"),
    Fault("saver: a series without x values plotted against itself", "platform/office/excel/WorkbookSaver.cpp",
          "const bool pointNumbers = !chart.series().empty() && !chart.series().front()->xValues();",
          "const bool pointNumbers = false;", [OFFICE], "ChartSaverTest.*"),
    Fault("saver: the crossing at the minimum saved as a number", "platform/office/excel/WorkbookSaver.cpp",
          "*axis.crossesAt() == axis.MinimumScale()", "false", [OFFICE], "ChartSaverTest.*"),
    Fault("saver: axis titles lose their bold", "platform/office/excel/WorkbookSaver.cpp",
          "font.bold = titleIsBold(*axis.title());", "font.bold = LXW_FALSE;", [OFFICE], "ChartSaverTest.*"),
    Fault("saver: tick labels in General", "platform/office/excel/WorkbookSaver.cpp",
          'if (format != "General") chart_axis_set_num_format', "if (false) chart_axis_set_num_format",
          [OFFICE], "ChartSaverTest.*"),
    Fault("saver: Symbol letters saved as typed", "platform/office/excel/WorkbookSaver.cpp",
          "          if (const std::string_view glyph = symbolGlyph(piece[0]); !glyph.empty()) piece = glyph;\n"
          "        font = savedFont(font);",
          "        font = savedFont(font);", [OFFICE], "WorkbookSaverTest.*"),
    Fault("office: a placeable metafile not known as one", "platform/office/Picture.cpp",
          "  if (littleEndian(b, 0, 4) == 0x9AC6CDD7u) return true;  // the placeable header's key\n", "", [OFFICE]),
    # --- the Excel stand-in ---------------------------------------------------------------------
    Fault("excel: text stored as given", "platform/office/excel/MemoryRange.cpp",
          "if (value.isString()) value = enteredValue(value.asString(), styles_.at(cells.styleAt(row, column)).numberFormat);",
          "", [OFFICE], "ExcelRange.*"),
    Fault("excel: thousands commas anywhere", "platform/office/excel/CellEntry.cpp",
          "  if (grouped && group != 3) return std::nullopt;\n", "", [OFFICE], "ExcelRange.*"),
    Fault("excel: sheet names of 32 characters", "platform/office/excel/MemoryWorkbook.cpp",
          "length > kMaxSheetNameLength ||", "length > kMaxSheetNameLength + 1 ||", [OFFICE]),
    Fault("excel: the text format ignored", "platform/office/excel/CellEntry.cpp",
          'if (numberFormat == "@") return', 'if (numberFormat == "@@") return', [OFFICE], "ExcelRange.*"),
    # --- automation -----------------------------------------------------------------------------
    Fault("automation: collection keys compared with case", "platform/automation/Collection.cpp",
          "if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');", "(void)c;", [AUTOMATION]),
    Fault("automation: CInt rounds halves away from zero", "platform/automation/Conversions.cpp",
          "const double r = std::nearbyint(value);", "const double r = std::round(value);", [AUTOMATION]),
    Fault("automation: noon shown as AM", "platform/automation/Date.cpp",
          'h, p.minute, p.second, p.hour < 12 ? "AM" : "PM");\n}', 'h, p.minute, p.second, p.hour <= 12 ? "AM" : "PM");\n}',
          [AUTOMATION]),
    # --- companions and the simulator -----------------------------------------------------------
    Fault("companions: a three-field identity taken", "companions/ZELDevice.cpp",
          "if (fields.size() != 4 || fields[1].empty())", "if (fields.size() < 3 || fields[1].empty())",
          [COMPANIONS]),
    Fault("companions: -inf taken for a number", "companions/ScpiSession.cpp",
          "if (!value || !std::isfinite(*value)) return std::nullopt;", "if (!value) return std::nullopt;",
          [COMPANIONS], "HostileInstrument.*"),
    Fault("companions: a stop not heard while the reply is awaited", "companions/FdIoLink.cpp",
          "::poll(p, 2,", "::poll(p, 1,", [COMPANIONS], "HostileInstrument.AStop*"),
    Fault("simulator: every message logged whole", "simulator/AnalyzerServer.cpp",
          "log_.push_back(text.substr(0, kLoggedBytes));", "log_.push_back(text);", [SIMULATOR],
          "AnalyzerServerMemory.*"),
    Fault("zel: a stop signal leaves the link waiting", "apps/StopSignals.cpp",
          "      kro::LinkInterrupt::instance().trigger();\n", "", PROGRAM, "*CtrlC*"),
    Fault("simulator: BLANK not taken for BLAN", "simulator/Settings.cpp",
          '{"BLAN", TraceMode::Blank}, {"BLANK", TraceMode::Blank}', '{"BLAN", TraceMode::Blank}', [SIMULATOR]),
    # --- transfer -------------------------------------------------------------------------------
    Fault("transfer: x values as start + i x step", "transfer/TraceTransfer.cpp",
          "      x[static_cast<size_t>(i)] = value;\n      value += step;",
          "      x[static_cast<size_t>(i)] = first + i * step;\n      (void)value;", [TRANSFER], "TraceTransfer.*"),
    Fault("transfer: trace modes read as given", "transfer/TraceTransfer.cpp",
          "const bool shown = upperTrimmed(require(server_).TraceMode(trace))",
          "const bool shown = std::string(require(server_).TraceMode(trace))", [TRANSFER], "ChartTest.*"),
    Fault("transfer: one shown trace read with every trace", "transfer/TraceTransfer.cpp",
          "if (shownCount <= 1) {", "if (shownCount < 1) {", [TRANSFER], "TraceTransfer.*"),
    Fault("transfer: the time-out left raised", "transfer/TraceTransfer.cpp",
          "  if (previousTimeout) device.setIoTimeout(*previousTimeout);\n", "", [TRANSFER], "TraceTransfer.*"),
    Fault("transfer: the unit's Symbol character one early", "transfer/TraceTransfer.cpp",
          "constexpr int32_t kTraceHeadingPrefix = 8;", "constexpr int32_t kTraceHeadingPrefix = 7;", [TRANSFER],
          "TraceTransfer.*"),
    Fault("transfer: data columns three times as wide", "transfer/TraceTransfer.cpp",
          "written.setColumnWidth(automation::CDbl(written.ColumnWidth()) * 2);",
          "written.setColumnWidth(automation::CDbl(written.ColumnWidth()) * 3);", [TRANSFER], "TraceTransfer.*"),
    Fault("transfer: annotations two rows apart", "transfer/Annotations.cpp", "  startRow_ += 3;",
          "  startRow_ += 2;", [TRANSFER], "TraceTransfer.Annotations*"),
    Fault("transfer: annotation names matched without case", "transfer/Annotations.cpp",
          "if (name != itemName) continue;", "if (!automation::equalsNoCase(name, itemName)) continue;", [TRANSFER],
          "TraceTransfer.Annotations*"),
    Fault("transfer: trace 2 and 3 colours swapped", "transfer/ChartBuilder.cpp",
          "constexpr int32_t kTraceColors[] = {6, 28, 7};", "constexpr int32_t kTraceColors[] = {6, 7, 28};",
          [TRANSFER], "ChartTest.*"),
    Fault("transfer: colours by series rather than by trace", "transfer/ChartBuilder.cpp",
          "setBorder(app, kTraceColors[trace], xl::xlThin);", "setBorder(app, kTraceColors[series - 1], xl::xlThin);",
          [TRANSFER], "ChartTest.*"),
    Fault("transfer: the value axis crossing at 0 Hz too", "transfer/ChartBuilder.cpp", "if (startFrequency < 0) {",
          "if (startFrequency <= 0) {", [TRANSFER], "ChartTest.*"),
    Fault("transfer: ScreenUpdating always turned back on", "transfer/ChartBuilder.cpp",
          'setProperty(app, "ScreenUpdating", screenUpdating);', 'setProperty(app, "ScreenUpdating", Variant(true));',
          [TRANSFER], "ChartTest.*"),
    Fault("transfer: sheet names without the seconds", "transfer/TransferNames.cpp",
          'return fmt::format("{} {}, {} {}h {}m {}s"', 'return fmt::format("{} {}, {} {}h {}m {}"', [TRANSFER],
          "TraceTransfer.*"),
    Fault("transfer: settings members out of their order", "transfer/DataTransfer.cpp",
          '          .get("m_duration", 0x40030006, fieldGet(&Self::m_duration))\n'
          '          .put("m_duration", 0x40030006, fieldPut(&Self::m_duration))\n',
          "", [TRANSFER], "DataTransferSettings.*",
          more=[('          .put("m_SamplesSpecifiedAsDuration", 0x40030007, fieldPut(&Self::m_SamplesSpecifiedAsDuration))\n',
                 '          .put("m_SamplesSpecifiedAsDuration", 0x40030007, fieldPut(&Self::m_SamplesSpecifiedAsDuration))\n'
                 '          .get("m_duration", 0x40030006, fieldGet(&Self::m_duration))\n'
                 '          .put("m_duration", 0x40030006, fieldPut(&Self::m_duration))\n')]),
    Fault("transfer: a saved key in another letter case", "transfer/DataTransfer.cpp",
          'propBag.WriteProperty(key("samplesSpecifiedAsDuration")', 'propBag.WriteProperty(key("SamplesSpecifiedAsDuration")',
          [TRANSFER], "DataTransferSettings.*"),
    Fault("transfer: a unit label in another letter case", "transfer/TransferNames.cpp", '{"PT", "PTesla", 0},',
          '{"PT", "pTesla", 0},', [TRANSFER], "TraceTransfer.*"),
    # --- dialogs --------------------------------------------------------------------------------
    Fault("dialogs: Repeated Measurements reopened at now", "dialogs/frmDataTransfer.cpp",
          "    schedule.m_startDate = m_startDate;", "    schedule.m_startDate = automation::clock().now();",
          [DIALOGS], "GetDataTest.*"),
    Fault("dialogs: choices written before the start cell is checked", "dialogs/frmDataTransfer.cpp",
          "  const std::string cell = startCell.Text();\n",
          "  const std::string cell = startCell.Text();\n  dataTransfer().setStartCell(cell);\n"
          "  dataTransfer().m_DataTransferItemsSelected = true;\n", [DIALOGS], "GetDataTest.*"),
    Fault("dialogs: the number of points read outside the room check", "dialogs/frmDataTransfer.cpp",
          "  try {\n    // The heading row and one row per point: the last point lands on row + points.\n"
          "    const int32_t points = server().NumberOfPoints();",
          "  const int32_t points = server().NumberOfPoints();\n  try {", [DIALOGS], "GetDataTest.*"),
    Fault("dialogs: one second said in the plural", "dialogs/frmDataTransfer.cpp",
          '(m_interval == 1 ? " second" : " seconds")', '(m_interval <= 1 ? " second" : " seconds")', [DIALOGS],
          "GetDataTest.*"),
    Fault("dialogs: sweep modes swapped", "dialogs/frmDataTransfer.cpp", "server().SweepMode() == 1 ?",
          "server().SweepMode() == 0 ?", [DIALOGS], "GetDataTest.*"),
    Fault("dialogs: a passed set time fills the pickers", "dialogs/repMeasControl.cpp",
          "    setStartPickers(m_initTime);", "    setStartPickers(startDateValue);", [DIALOGS],
          "ScheduleControlTest.*"),
    Fault("dialogs: the duration not handed back", "dialogs/FrmRepeatedMeasurements.cpp",
          "    m_duration = automation::CLng(control->invoke(kDispDuration, DispatchKind::PropertyGet));", "",
          [DIALOGS]),
    Fault("dialogs: interval hours up to 24", "dialogs/repMeasControl.cpp", "Interval hours must be a value between 0 and 23",
          "Interval hours must be a value between 0 and 24", [DIALOGS], "ScheduleControlTest.*"),
    # --- control --------------------------------------------------------------------------------
    Fault("control: the next start counted from the call", "control/ZELControlTransfer.cpp",
          "    connectionObject().TransferDataToApp();\n    --samplesRemaining;",
          "    const automation::Date began = automation::clock().now();\n"
          "    connectionObject().TransferDataToApp();\n    --samplesRemaining;", [DRIVING],
          more=[("automation::clock().now().serial() + interval.serial()", "began.serial() + interval.serial()")]),
    Fault("control: a second ConnectedApplication ignored", "control/ZELControl.cpp",
          "    int32_t handle = hDC();\n    (void)dataC->Init(app, getServer(), self, handle);", "    (void)hDC();",
          [CONTROL], "ZELControl.*"),
    Fault("control: UpdateConnectedStatus does nothing", "control/ZELControl.cpp",
          "  dataC->UpdateConnectedIconAndTooltip(hostName);", "  (void)hostName;", [CONTROL], "Connect.*"),
    Fault("control: its own connect button", "control/ZELControl.cpp", 'else if (key == "connect")',
          'else if (key == "Connect")', [CONTROL], "Connect.*"),
    Fault("control: its own setups button", "control/ZELControl.cpp", 'else if (key == "setups")',
          'else if (key == "Setups")', [PERSISTENCE], "Setups.*"),
    Fault("control: the last measurement does not end the run", "control/ZELControlTransfer.cpp",
          "if (samplesRemaining <= 0) {", "if (samplesRemaining < 0) {", [DRIVING]),
    Fault("control: a later single measurement leaves the bar", "control/ZELControlTransfer.cpp",
          "if (samplesRemaining > 1 || !immed) {", "if (samplesRemaining > 1) {", [DRIVING]),
    Fault("control: Get Data does not mark the properties changed", "control/ZELControlTransfer.cpp",
          "    PropertyChanged();\n    if (!dataC) raiseNoConnection();", "    if (!dataC) raiseNoConnection();",
          [DRIVING]),
    Fault("control: the failure message's first line", "control/ZELControlTransfer.cpp",
          'forms::MsgBox(std::string("Data Transfer Failure") + kCrLf', 'forms::MsgBox(std::string("Data Transfer failure") + kCrLf',
          [DRIVING]),
    Fault("control: transfers need both measurement modes at once", "control/ZELControlConnect.cpp",
          'automation::InStr(mode, "SAN", automation::vbTextCompare) > 0 ||',
          'automation::InStr(mode, "SAN", automation::vbTextCompare) > 0 &&', [DRIVING, CONTROL]),
    Fault("control: the event class handed out by a class object", "control/Registration.cpp",
          '"ZELEventClass", {ZELEventClass::kIid}, false, nullptr},',
          '"ZELEventClass", {ZELEventClass::kIid}, false, counted<ZELEventClass>()},', [CONTROL],
          "Registration.*"),
    Fault("control: a document's states not read back", "control/ZELControlPersistence.cpp",
          "      instrSetupInfo->ReadProperties(bag);\n", "", [PERSISTENCE], "Setups.States*"),
    Fault("control: carriage returns kept in a settings file's model", "control/ZELControl.cpp",
          "if (c != '\\n' && c != '\\r' && lineFeeds == 3)", "if (c != '\\n' && lineFeeds == 3)", [PERSISTENCE],
          "SetupInterface.*"),
    Fault("control: toolbar members out of their order", "control/ZELControl.cpp",
          "          .method(\"StopTransfer\", t + 6, &ZELControl::StopTransfer)\n"
          "          .method(\"StartTransfer\", t + 7, &ZELControl::StartTransfer)\n",
          "          .method(\"StartTransfer\", t + 7, &ZELControl::StartTransfer)\n"
          "          .method(\"StopTransfer\", t + 6, &ZELControl::StopTransfer)\n", [CONTROL], "Registration.*"),
    Fault("companions: Disconnect heard by nobody", "companions/KroDiscoveryCtl.cpp",
          "    sink->invoke(kDispDisconnect, automation::DispatchKind::Method, none);", "    (void)sink;", [COMPANIONS, CONTROL],
          "Discovery.Disconnect*:Connect.*"),
    Fault("companions: a restored serial link ignores the host's RS-232 configuration", "companions/RS232Config.cpp",
          "  if (!entry) return serial;", "  return serial;", [COMPANIONS], "CIOSettings.*"),
    Fault("control: the Connect dialog does not listen to the discovery control", "control/frmConnect1.cpp",
          "  discoveryEvents_ = automation::adviseEvents(control,", "  discoveryEvents_ = 0 * automation::adviseEvents(nullptr,",
          [CONTROL], "Connect.*"),
    Fault("forms: a hosted automation object seen only as the type it was given", "platform/forms/VBControlExtender.h",
          "      if (automation_) return automation::Variant(automation_).objectAs<T>();", "", [CONTROL], "Connect.*"),
    Fault("companions: two states under one name in another letter case", "companions/ItemStateInfo.cpp",
          "if (automation::equalsNoCase(earlier->name(), state->name()))", "if (earlier->name() == state->name())",
          [COMPANIONS], "ItemStateInfo.*"),
    Fault("control: a run ended by another measurement function without its reason", "control/ZELControlTransfer.cpp",
          "      showTransferNotSupported();\n      endRepeatedTransfer(moreTransfers);",
          "      endRepeatedTransfer(moreTransfers);", [DRIVING]),
    Fault("control: Stop hands back the time of the call", "control/ZELControlTransfer.cpp",
          "stopDate = Variant(startDate);", "stopDate = Variant(automation::clock().now());", [DRIVING]),
    Fault("control: the interval's hours dropped", "control/ZELControlTransfer.cpp",
          "    if (hours >= 1) rest -= hours * 3600;\n", "", [DRIVING]),
    Fault("control: a link chosen again in other letter case attached anew", "control/ZELControlConnect.cpp",
          "if (const ObjectPtr current = currentIoSession()) oldAddress = automation::UCase(linkAddress(current));",
          "if (const ObjectPtr current = currentIoSession()) oldAddress = linkAddress(current);", [CONTROL],
          "Connect.*"),
    Fault("control: a failed connect shown with the stop icon", "control/ZELControlConnect.cpp",
          '"Error Description:" + e.description(), forms::vbOKOnly);',
          '"Error Description:" + e.description(), forms::vbCritical);', [CONTROL], "Connect.*"),
    Fault("control: the discovery control's Disconnect leaves the connected bar", "control/frmConnect1.cpp",
          "  if (dataC) dataC->SetInitialToolbarState();", "", [CONTROL], "Connect.*"),
    Fault("control: the states reach the control after the dialog closed", "control/ZELControlPersistence.cpp",
          "    instrSetupInfo->setSetupInterface(nullptr);\n    forms::Unload(*dialog);",
          "    forms::Unload(*dialog);", [PERSISTENCE], "Setups.States*"),
    Fault("control: a document whose link fails opens on the saved computer", "control/ZELControlPersistence.cpp",
          "        ioSetting->setHostName(Variant(kro::CIOSettings::kLocalHost));\n", "", [PERSISTENCE]),
    # --- about ----------------------------------------------------------------------------------
    Fault("about: a followed link stays blue", "about/FrmAbout.cpp",
          "  label.setForeColor(kFollowedLinkColour);\n", "", [ABOUT], "AboutTest.*"),
    Fault("about: the last picture opens its link", "about/FrmAbout.cpp",
          "  // The second product's picture was never wired to its link.\n",
          "  imgProduct2.onClick = [this] { followLink(lblLinkProduct2); };\n", [ABOUT], "AboutTest.*"),
    Fault("about: no pause after a link", "about/FrmAbout.cpp", "  win32::Sleep(100);\n", "", [ABOUT], "AboutTest.*"),
    Fault("about: models added to the last list", "about/FrmAbout.cpp", "  supModelsCombo.Clear();\n", "", [ABOUT],
          "AboutTest.*"),
    Fault("about: the build date of the comments cut one late", "about/FrmVersionInfo.cpp",
          "comments.substr(std::min<size_t>(comments.size(), 12))",
          "comments.substr(std::min<size_t>(comments.size(), 13))", [ABOUT], "VersionInfoTest.*"),
    Fault("about: rows copied with bare line feeds", "about/FrmVersionInfo.cpp", 'if (i > 1) text += "\\r\\n";',
          'if (i > 1) text += "\\n";', [ABOUT]),
    Fault("about: Ctrl+C in the list ignored", "about/FrmVersionInfo.cpp",
          "if (keyAscii == forms::vbKeyCtrlC) copyToClipboard();", "(void)keyAscii;", [ABOUT], "VersionInfoTest.*"),
    Fault("about: the list's right margin lost", "about/FrmVersionInfo.cpp",
          "lstViewInfo.setWidth(std::max(0, w - 200));", "lstViewInfo.setWidth(std::max(0, w - 100));", [ABOUT],
          "VersionInfoTest.*"),
    Fault("about: the newest component listed last", "about/FrmVersionInfo.cpp",
          "forms::ListItem& row = lstViewInfo.ListItems().Add(1, {}, fileNameOf(",
          "forms::ListItem& row = lstViewInfo.ListItems().Add(0, {}, fileNameOf(", [ABOUT]),
    # --- connections ----------------------------------------------------------------------------
    Fault("connections: the connected tooltip's wording", "connections/HostToolbar.cpp",
          '"Connected to " + model + " Spectrum Analyzer at "', '"Connected To " + model + " Spectrum Analyzer at "',
          [CONNECTIONS]),
    Fault("connections: the host name left out of the tooltip", "connections/HostToolbar.cpp",
          '  if (hostName != kLocalHostName) tooltip += " on " + hostName;\n', "", [CONNECTIONS]),
    Fault("connections: a reactivated workbook in the wrong state", "connections/ExcelDataConnection.cpp",
          "  if (inRepeat_)\n    EnableRepeatMeaureButtons();", "  if (!inRepeat_)\n    EnableRepeatMeaureButtons();",
          [CONNECTIONS]),
    Fault("connections: another workbook's deactivation resets the bar", "connections/ExcelDataConnection.cpp",
          "if (Wb == workbook_) SetInitialToolbarState();", "if (Wb != workbook_) SetInitialToolbarState();",
          [CONNECTIONS]),
    Fault("connections: a hidden status bar overwritten", "connections/ExcelDataConnection.cpp",
          "  if (host().DisplayStatusBar()) host().setStatusBar(Variant(msg));", "  host().setStatusBar(Variant(msg));",
          [CONNECTIONS], "ExcelConnection.*"),
    Fault("connections: the temporary metafile's name", "connections/ScreenImageTransfer.cpp",
          'return folder + "t5200" +', 'return folder + "t520" +', [CONNECTIONS]),
    # --- the late-bound Office views --------------------------------------------------------------
    Fault("views: host calls in the user's locale", "platform/office/com/LateBound.h",
          "automation::setLocale(target_, kHostLocale);", "", [VIEWS]),
    Fault("views: a number format never reaches the host", "platform/office/com/ExcelViews.cpp",
          'put("NumberFormat", format)', 'put("NumberFormat", "General")', [VIEWS]),
    Fault("views: an argument left out passed as empty", "platform/office/com/LateBound.h",
          "if (arg.isEmpty()) arg = missing();", "(void)arg;", [VIEWS], "OfficeViews.AnArgumentLeftOut*"),
    Fault("views: the desktop's expect reads the text the other way round", "platform/forms/DispatchDesktop.cpp",
          "if (shown != expected) scriptFailure(", "if (shown == expected) scriptFailure(", [VIEWS],
          "OfficeViews.GetData*"),
    Fault("views: the version asked for as the file", "companions/com/CompanionViews.cpp",
          'return CStr(get("VersionText"));', 'return CStr(get("FilePath"));', [VIEWS], "VersionInfoView.*"),
    Fault("views: the library binds to the version service's own class", "control/ZELControlAbout.cpp",
          ".objectAs<kro::IComponentVersionInfo>();", ".objectAs<kro::ComponentVersionInfo>();", [VIEWS],
          "VersionInfoView.*"),
    Fault("views: the person's action never reaches another module's control", "platform/forms/DispatchDesktop.cpp",
          "    automation::callMethod(static_cast<VBControlExtender&>(control).foreignControl(),\n"
          "                           DispatchDesktop::kHostedActionMember, {rest});\n", "    (void)rest;\n", [VIEWS],
          "OfficeViews.GetDataWithAnotherModulesCompanions*:SetupsElsewhere.*"),
    Fault("views: the IO settings handed to another module's discovery control by value",
          "companions/com/CompanionViews.cpp", 'putRef("IOSettings", std::move(settings));',
          'put("IOSettings", Variant(std::move(settings)));', [VIEWS], "OfficeViews.GetDataWithAnotherModulesCompanions*"),
    Fault("views: the document's bag never lent to another module's setups", "companions/com/CompanionViews.cpp",
          'void WriteProperties(automation::PropertyBag& bag) override { call("WriteProperties", {lent(bag)}); }\n'
          '  void ReadProperties(automation::PropertyBag& bag) override { call("ReadProperties", {lent(bag)}); }\n};\n\n'
          'class RS232ConfigView',
          'void WriteProperties(automation::PropertyBag&) override {}\n'
          '  void ReadProperties(automation::PropertyBag& bag) override { call("ReadProperties", {lent(bag)}); }\n};\n\n'
          'class RS232ConfigView', [VIEWS], "SetupsElsewhere.*"),
    # --- apps -----------------------------------------------------------------------------------
    Fault("apps: a plain get-data selects no annotation", "apps/ExcelHost.cpp",
          "  if (request.annotations) user.select(f.annotationsList, annotationIndices(*request.annotations));",
          '  user.select(f.annotationsList, annotationIndices(request.annotations.value_or("none")));', PROGRAM,
          "ZelProgram.APlainGetData*"),
    Fault("apps: a usage error exits 1", "apps/main.cpp", "return parserStatus == 0 ? kExitDone : kExitUsage;",
          "return parserStatus == 0 ? kExitDone : 1;", PROGRAM, "ZelProgram.Options*"),
]


def say(text):
    print(text, file=sys.stderr, flush=True)


def tracked_files():
    out = subprocess.run(["git", "ls-files", "-co", "--exclude-standard"], cwd=ROOT, check=True,
                         capture_output=True, text=True).stdout
    return [f for f in out.splitlines() if not f.startswith("build/") and os.path.isfile(os.path.join(ROOT, f))]


def refresh_copy():
    """Copies what differs into the scratch tree, so that its build stays incremental."""
    for rel in tracked_files():
        src, dst = os.path.join(ROOT, rel), os.path.join(SOURCE, rel)
        if os.path.exists(dst) and filecmp.cmp(src, dst, shallow=False):
            continue
        os.makedirs(os.path.dirname(dst), exist_ok=True)
        shutil.copy2(src, dst)
        os.utime(dst)  # newer than any object built from an older copy


def configure():
    if os.path.exists(os.path.join(BINARY, "build.ninja")):
        return
    env = dict(os.environ)
    args = ["cmake", "-S", SOURCE, "-B", BINARY, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Debug",
            "-DCMAKE_CXX_FLAGS_DEBUG=-O0", "-DCMAKE_C_FLAGS_DEBUG=-O0", "-DZEL_BUILD_BENCH=OFF"]
    if shutil.which("ccache"):
        args += ["-DCMAKE_CXX_COMPILER_LAUNCHER=ccache", "-DCMAKE_C_COMPILER_LAUNCHER=ccache"]
    subprocess.run(args, check=True, env=env, stdout=subprocess.DEVNULL)


def build(targets):
    result = subprocess.run(["cmake", "--build", BINARY, "--target", *targets], capture_output=True, text=True)
    return result.returncode == 0, result.stdout[-3000:] + result.stderr[-3000:]


def binary_of(target):
    for folder, _, files in os.walk(os.path.join(BINARY, "tests")):
        if target in files:
            return os.path.join(folder, target)
    return None


def run_tests(fault):
    """True when every named test binary passes."""
    for target in fault.tests:
        if not target.endswith("_tests"):
            continue
        path = binary_of(target)
        if not path:
            return False
        key = (target, fault.filter)
        began = time.time()
        try:
            result = subprocess.run([path, f"--gtest_filter={fault.filter}"], cwd=os.path.dirname(path),
                                    capture_output=True, timeout=max(MIN_TIMEOUT, TIMEOUT_FACTOR * usual_seconds.get(key, 60)))
        except subprocess.TimeoutExpired:
            return False
        usual_seconds.setdefault(key, time.time() - began)
        if result.returncode != 0:
            return False
    return True


def apply(fault):
    path = os.path.join(SOURCE, fault.file)
    with open(path, encoding="utf-8") as f:
        original = f.read()
    text = original
    for find, replace in [(fault.find, fault.replace), *fault.more]:
        if text.count(find) != 1:
            return None, f"its text occurs {text.count(find)} times in {fault.file}"
        text = text.replace(find, replace)
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)
    return original, None


def restore(fault, original):
    with open(os.path.join(SOURCE, fault.file), "w", encoding="utf-8") as f:
        f.write(original)


def main(argv):
    if "--list" in argv:
        for fault in FAULTS:
            print(f"{fault.name}\t{fault.file}\t{' '.join(fault.tests)}")
        return 0
    if "--check" in argv:
        stale = 0
        for fault in FAULTS:
            with open(os.path.join(ROOT, fault.file), encoding="utf-8") as f:
                text = f.read()
            for find, _ in [(fault.find, fault.replace), *fault.more]:
                if text.count(find) != 1:
                    stale += 1
                    print(f"STALE {fault.name}: its text occurs {text.count(find)} times in {fault.file}")
        print(f"mutants: {len(FAULTS) - stale} of {len(FAULTS)} faults apply")
        return 1 if stale else 0
    words = [w for w in argv if not w.startswith("-")]
    chosen = [f for f in FAULTS if not words or any(w.lower() in f.name.lower() for w in words)]
    targets = sorted({t for f in chosen for t in f.tests})
    began = time.time()
    # Paths relative to the tree let the copy's compiles hit the cache of earlier copies.
    os.environ.setdefault("CCACHE_BASEDIR", ROOT)
    say(f"mutants: {len(chosen)} faults, copying the tree to {SOURCE}")
    refresh_copy()
    configure()
    say(f"mutants: building {' '.join(targets)} unchanged")
    ok, log = build(targets)
    if not ok:
        say(log)
        say("mutants: the unchanged tree does not build")
        return 2
    for fault in chosen:
        if not run_tests(Fault(fault.name, "", "", "", fault.tests, fault.filter)):
            say(f"mutants: the unchanged tree fails {' '.join(fault.tests)} ({fault.filter})")
            return 2
    say(f"mutants: the unchanged tree built and passed in {(time.time() - began) / 60:.0f} min")
    faults_began = time.time()
    missed = 0
    for number, fault in enumerate(chosen, 1):
        original, problem = apply(fault)
        if problem:
            verdict = f"STALE ({problem})"
            missed += 1
        else:
            try:
                ok, log = build(fault.tests)
                if not ok:
                    verdict = "DOES NOT BUILD"
                    missed += 1
                    say(log)
                elif run_tests(fault):
                    verdict = "MISSED"
                    missed += 1
                else:
                    verdict = "caught"
            finally:
                restore(fault, original)
        print(f"{number:3}/{len(chosen)} {verdict:8} {fault.name}", flush=True)
    build(targets)  # leave the copy built as the tree is
    minutes, fault_minutes = (time.time() - began) / 60, (time.time() - faults_began) / 60
    print(f"mutants: {len(chosen) - missed} of {len(chosen)} caught in {minutes:.0f} min "
          f"({fault_minutes:.0f} min for the faults)", flush=True)
    return 1 if missed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
