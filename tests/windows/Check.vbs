' Put before every script by run.sh: one PASS or FAIL line per check, the exit code counts the
' failures; and the Excel stand-in the scripts hand to the control.
Option Explicit
Dim failures
failures = 0

Sub Check(name, actual, expected)
  If VarType(actual) = VarType(expected) And actual = expected Then
    WScript.Echo "PASS " & name
  Else
    failures = failures + 1
    WScript.Echo "FAIL " & name & ": got " & Shown(actual) & ", expected " & Shown(expected)
  End If
End Sub

Function Shown(value)
  If IsObject(value) Then
    Shown = "an object"
  ElseIf IsNull(value) Then
    Shown = "Null"
  Else
    Shown = TypeName(value) & " " & CStr(value)
  End If
End Function

' The in-memory Excel of ZELTestServers.dll with a workbook and the add-in's command bar.
Const barName = "ORV/ZEL Spectrum Analyzer"
Function ExcelWithBar()
  Dim app, b, c
  Set app = CreateObject("ZELTest.ExcelApplication")
  app.Workbooks.Add
  Set b = app.CommandBars.Add(barName, 1)
  For Each c In Array("About", "Connect", "Connected", "Capture/Restore Settings", "Get Data", _
                      "Stop Repeated Measurement", "Get Screen Image", "Help")
    b.Controls.Add.Caption = c
  Next
  Set ExcelWithBar = app
End Function

Sub Finish()
  ' A script stopped by an error it did not trap never gets here: run.sh looks for this line.
  WScript.Echo "END"
  WScript.Quit failures
End Sub
