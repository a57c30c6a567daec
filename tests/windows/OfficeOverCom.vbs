' The in-memory Excel and Word of ZELTestServers.dll handed to the control as its host: every
' call the control makes into them crosses IDispatch, as into the real Office.
Dim xl, wd, ctl, bar, i, stopDate, calls, expected, states
Set calls = CreateObject("ZELTest.CallLog")

Set xl = ExcelWithBar()
Set ctl = CreateObject("ZELControlProj.ZELControl")
Set ctl.ConnectedApplication = xl
Check "the control binds to an Excel it reaches only through IDispatch", ctl.ConnectedApplication Is xl, True

' Stopping a run puts the bar into its single-measurement state and clears the status bar,
' through the host's own objects.
Set bar = xl.CommandBars.Item(barName)
For i = 1 To 8
  bar.Controls.Item(i).Enabled = (i = 6)
Next
xl.StatusBar = "Measurement 2 of 3"
calls.Clear
ctl.StopTransfer stopDate, True
' The calls the control made, each by name, in US English (1033), in the order it made them.
expected = "Application.CommandBars get 1033" & vbLf & _
           "CommandBars.Item call 1033 (""" & barName & """)" & vbLf
For i = 1 To 8
  expected = expected & "CommandBar.Controls get 1033" & vbLf & _
             "CommandBarControls.Item call 1033 (" & i & ")" & vbLf & _
             "CommandBarButton.Enabled put 1033 (" & CStr(i <> 6) & ")" & vbLf
Next
expected = expected & "Application.DisplayStatusBar get 1033" & vbLf & "Application.StatusBar put 1033 ("""")" & vbLf
Check "StopTransfer makes exactly these calls into Excel", calls.Text, expected
states = ""
For i = 1 To 8
  states = states & Left(CStr(bar.Controls.Item(i).Enabled), 1)
Next
Check "after StopTransfer every button but Stop Repeated Measurement is enabled", states, "TTTTTFTT"
Check "and the status bar is cleared", xl.StatusBar, ""

Set xl = CreateObject("ZELTest.ExcelApplication")
Set ctl = CreateObject("ZELControlProj.ZELControl")
Set ctl.ConnectedApplication = xl
Check "an Excel without a workbook is declined", ctl.ConnectedApplication Is Nothing, True

Set wd = CreateObject("ZELTest.WordApplication")
wd.Documents.Add
Set ctl = CreateObject("ZELControlProj.ZELControl")
Set ctl.ConnectedApplication = wd
Check "a Word application is declined by the Excel connection and taken by the Word one", _
      ctl.ConnectedApplication Is wd, True
Finish
