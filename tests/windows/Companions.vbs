' The companions of ZELCompanions.dll created through COM, as the control creates them: the IO
' settings restore the link a document saved, the instrument server's device takes that link
' and reaches the analyzer through it (zel-sim, on the port run.sh gives in ZEL_SIM_PORT).

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
Finish
