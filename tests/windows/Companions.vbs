' The companions of ZELCompanions.dll created through COM, as the control creates them: the IO
' settings restore the link a document saved, the instrument server's device takes that link
' and reaches the analyzer through it (zel-sim, on the port run.sh gives in ZEL_SIM_PORT); the
' control then works with that server when the host hands it over, shows its own version as the
' companions' version information reads it from the system's registry, and the utilities find
' where the host placed it.

' A document's bag holding the IO settings of a connected control.
Class SavedSettings
  Public address
  Public Function ReadProperty(name)
    If name = "IOSettingsLinkAddress" Then ReadProperty = address
    If name = "IOSettingsHostName" Then ReadProperty = "My Computer"
  End Function
End Class

Dim port, bag, settings, link, zel, device, trace
' Wine's ExpandEnvironmentStrings leaves the terminating NUL in the text.
port = Replace(CreateObject("WScript.Shell").ExpandEnvironmentStrings("%ZEL_SIM_PORT%"), Chr(0), "")
Set bag = New SavedSettings
bag.address = "TCPIP0::127.0.0.1::" & port & "::SOCKET"
Set settings = CreateObject("KroDiscovery.CIOSettings")
settings.ReadProperties bag
Set link = settings.IoLink
Check "the IO settings restore the saved link", link.Address, bag.address

Set zel = CreateObject("KroZEL.ZELEZ")
Set device = zel.Device
Set device.IoSession = link
Check "the device holds the settings' own link", device.IoSession Is link, True
Check "and reaches the analyzer through it", device.Model, "ZEL-R 3036"
' A script reads no typed array; that it is one of Doubles is what it can see.
trace = zel.GetTraceData(1, False)
Check "a trace arrives as an array of Doubles", VarType(trace), vbArray + vbDouble
Check "of NumberOfPoints values", zel.NumberOfPoints, CLng(1001)
link.ReleaseLink
Check "a released link opens again for the next query", device.SerialNumber, "100245"
Set settings.IoLink = device.IoSession
Check "the settings take the device's link back", settings.IoLink Is link, True

' A host may hand the control an instrument server of its own choosing, this one of the
' companions' module: the control calls it by name, for the model and for Get Data.
Dim desk, xl, book, box, ctl, more, start, sheets, values, r, c, model
Set desk = CreateObject("ZELTest.Desktop")
Set xl = ExcelWithBar()
Set ctl = CreateObject("ZELControlProj.ZELControl")
' Before the application: the connection the control makes for it takes the control's server.
Set ctl.ZelServer = zel
Set box = CreateObject("ZELTest.Container")
Set book = xl.ActiveWorkbook
box.Place book, ctl
Set ctl.ConnectedApplication = xl
Check "the control hands back the server the host gave it", ctl.ZelServer Is zel, True
Check "and asks that server for the model", ctl.Model, "ZEL-R 3036"
sheets = xl.ActiveWorkbook.Sheets.Count
desk.OnForm "frmDataTransfer", Array("type startCell B3", "click getDataBtn")
ctl.DoDataTransfer more, start
' The host makes the measurement when it is due: at once.
ctl.StartTransfer more, start
Check "Get Data through it fills a new sheet", xl.ActiveWorkbook.Sheets.Count, sheets + 1
' The annotations stand beside the trace columns, each label above its value.
values = xl.ActiveSheet.Range("A1:J60").Value
model = Empty
For r = 1 To UBound(values, 1) - 1
  For c = 1 To UBound(values, 2)
    If values(r, c) = "Instrument Model" Then model = values(r + 1, c)
  Next
Next
Check "whose model annotation is the analyzer's", model, "ZEL-R 3036"
Check "with the Get Data dialog as answered", desk.Transcript & desk.Problems, "form frmDataTransfer (Get Data)" & vbLf

' The version information finds a component in the system's registry and reads its file's own
' version resource; the control's About shows what it read of the library.
Dim fso, info, library
Set fso = CreateObject("Scripting.FileSystemObject")
Set info = CreateObject("NDXLServers.ComponentVersionInfo")
info.Load "ZELControlProj.ZELControl"
library = info.FilePath
Check "the version information finds the library's file", LCase(fso.GetFileName(library)), "zelcontrolproj.dll"
Check "and reads its version", info.VersionText, fso.GetFileVersion(library)
Check "and the strings of its version data", info.StringValue("companyname"), "Corvane"
info.Load "KroZEL.ZELEZ"
Check "a companion's file is the companions' module", LCase(fso.GetFileName(info.FilePath)), "zelcompanions.dll"
Check "with that module's build date", info.StringValue("BuildDate"), "05/02/2025"
On Error Resume Next
info.Load "KroIO.GPIB"
Check "a component nobody registered is refused", Err.Number, vbObjectError + &H231
On Error GoTo 0
desk.Clear
desk.OnForm "FrmAbout", Array("expect lblCopyright Copyright (C) Corvane, Version " & fso.GetFileVersion(library), _
                              "click cmdOK")
ctl.DoAbout
Check "About shows the library's version as the system's registry has it", desk.Problems, ""

' The utilities ask the control's OLE client site where the host placed it.
Dim utilities
Set utilities = CreateObject("KroInstrUtilities.VCUtilities")
Check "the utilities find the workbook that holds the control", utilities.ContainingWorkbook(ctl) Is book, True
Check "and the host's window", utilities.TopLevelHwnd(ctl), xl.Hwnd
box.Remove
On Error Resume Next
utilities.TopLevelHwnd ctl
Check "a control the host no longer holds is placed nowhere", Err.Number, vbObjectError + &H221
On Error GoTo 0

' The set-up the control gives a serial link, and a value the serial driver cannot take.
Dim config
Set config = CreateObject("KroRS232.RS232Config")
config.BaudRate = 9600
config.DataBits = 8
Check "the RS-232 configuration keeps its settings", config.BaudRate & " " & config.DataBits, "9600 8"
On Error Resume Next
config.DataBits = 9
Check "and refuses nine data bits", Err.Number <> 0, True
On Error GoTo 0

' The Connect dialog hosts the companions' discovery control: the person's typing reaches it
' there, its own message when nobody answers comes to this desktop as well, and its Disconnect
' event reaches the dialog, which takes the link from the instrument server again.
Dim own, nobody
Set own = CreateObject("ZELControlProj.ZELControl")
nobody = "TCPIP0::127.0.0.1::1::SOCKET"
desk.Clear
desk.OnForm "frmConnect1", Array("type IOSetting1.addressBox " & nobody, "click IOSetting1.connectButton", _
                                 "expect IOSetting1.statusLabel Not connected", "type IOSetting1.addressBox " & bag.address, _
                                 "click IOSetting1.connectButton", "expect IOSetting1.statusLabel Connected", "click closeButton")
desk.OnMessage "No supported instrument answers at " & nobody, 0
own.DoConnect
Check "the discovery control's message for an address where nobody answers", _
      InStr(desk.Transcript, "message Instrument Discovery 48: No supported instrument answers at " & nobody & ".") > 0, True
Check "then the analyzer's address connects", desk.Problems, ""
Check "the server's device holds the link chosen there", own.ZelServer.Device.IoSession.Address, bag.address

' Capture/Restore Settings hosts the companions' setups panel: the state captured there is read
' from the analyzer through the control's own setup interface, and restored the same way.
desk.Clear
desk.OnForm "FrmSetup", Array("type InstrumentState1.nameBox wide", "click InstrumentState1.captureButton", _
                              "expect InstrumentState1.statusLabel Captured wide", _
                              "click InstrumentState1.restoreButton", "expect InstrumentState1.statusLabel Restored wide", _
                              "click closeButton")
own.DoSetup
Check "a state captured and restored in the setups panel", desk.Transcript & desk.Problems, _
      "form FrmSetup (Capture/Restore Settings)" & vbLf
desk.Clear
desk.OnForm "frmConnect1", Array("expect IOSetting1.addressBox " & bag.address, "click IOSetting1.disconnectButton", _
                                 "click closeButton")
own.DoConnect
Check "Disconnect there drops the server's link", own.ZelServer.Device.IoSession Is Nothing, True
Check "as answered", desk.Problems, ""
Finish
