' Get Data end to end under Wine: the in-memory Excel of ZELTestServers.dll with the add-in's
' command bar, the control placed in its workbook and given the Excel, then connected to zel-sim
' through the Connect dialog, a repeated Get Data of three measurements with the host's waits,
' Stop; another workbook activated and the control's again; then the screen image into the
' sheet, and a command that fails once the analyzer is gone. The dialogs are answered from
' GetData.answers, the answers office_calls gives the Linux build.
'   cscript GetData.vbs ADDRESS ANSWERS OUTPUT SIMULATOR-PID
' OUTPUT receives the calls the control made into Excel from Get Data to Stop, a line "--" and
' the cells, as office_calls prints them; run.sh compares the two.
Dim address, desk, calls, log, xl, box, book, c, ctl, more, start, stopDate, fso, out, sheet, values, r, i, shapes

address = WScript.Arguments(0)
Set fso = CreateObject("Scripting.FileSystemObject")
Set desk = CreateObject("ZELTest.Desktop")
Set calls = CreateObject("ZELTest.CallLog")

' Each line "NAME | action | action ...", as office_calls reads it.
Sub QueueAnswers(path)
  Dim file, line, parts, actions, k
  Set file = fso.OpenTextFile(path)
  Do Until file.AtEndOfStream
    line = Replace(file.ReadLine, "$ADDRESS", address)
    If Len(line) > 0 And Left(line, 1) <> "#" Then
      parts = Split(line, " | ")
      ReDim actions(UBound(parts) - 1)
      For k = 1 To UBound(parts)
        actions(k - 1) = parts(k)
      Next
      desk.OnForm parts(0), actions
    End If
  Loop
  file.Close
End Sub

Set xl = ExcelWithBar()

QueueAnswers WScript.Arguments(1)
' The control in the workbook, as Excel places it when the workbook holds it; the Connect dialog
' then belongs to that workbook's window.
Set ctl = CreateObject("ZELControlProj.ZELControl")
Set box = CreateObject("ZELTest.Container")
box.Place xl.ActiveWorkbook, ctl
Set ctl.ConnectedApplication = xl
ctl.DoConnect
calls.Clear
more = False
ctl.DoDataTransfer more, start
Check "Get Data asks for more measurements", more, True
i = 0
Do While more
  ' The host's wait until the measurement the control asked for is due (WScript.Sleep is not
  ' there in Wine).
  Do While Now < start
  Loop
  ctl.StartTransfer more, start
  i = i + 1
Loop
ctl.StopTransfer stopDate, True
log = calls.Text
Check "three measurements, each on a sheet of its own", i & " " & xl.ActiveWorkbook.Sheets.Count, "3 4"
Check "the dialogs shown are the ones answered", desk.Transcript, _
      "form frmConnect1 (Connect To ORV/ZEL-Q/R/VX Spectrum Analyzer)" & vbLf & "form frmDataTransfer (Get Data)" & vbLf & _
      "form FrmRepeatedMeasurements (Repeated Measurements)" & vbLf
Check "and all went as answered", desk.Problems, ""

Set out = fso.CreateTextFile(WScript.Arguments(2), True)
out.Write log
' Lines end in LF, as office_calls writes them.
out.Write "--" & vbLf
For i = 1 To xl.ActiveWorkbook.Sheets.Count
  Set sheet = xl.ActiveWorkbook.Sheets.Item(i)
  For c = 1 To 8
    out.Write sheet.Name & vbTab & Chr(64 + c) & vbTab & calls.Shown(sheet.Columns(c).ColumnWidth) & vbLf
  Next
  values = sheet.Range("A1:H1100").Value
  For r = 1 To UBound(values, 1)
    For c = 1 To UBound(values, 2)
      If Not IsEmpty(values(r, c)) Then
        ' Each value written by the C++ both builds share, so that a number is compared exactly.
        out.Write sheet.Name & vbTab & Chr(64 + c) & r & vbTab & calls.Shown(values(r, c)) & vbTab & _
                  sheet.Cells(r, c).NumberFormat & vbTab & calls.Shown(sheet.Cells(r, c).HorizontalAlignment) & vbLf
      End If
    Next
  Next
Next
out.Close

' The bar follows the control's workbook out and in, as Excel's application events tell the
' control: each button as E (enabled), d (disabled) or h (hidden).
Function Faces()
  Dim k, button
  Faces = ""
  For k = 1 To 8
    Set button = xl.CommandBars.Item(barName).Controls.Item(k)
    If Not button.Visible Then
      Faces = Faces & "h"
    ElseIf button.Enabled Then
      Faces = Faces & "E"
    Else
      Faces = Faces & "d"
    End If
  Next
End Function
Set book = xl.ActiveWorkbook
Check "connected, one measurement at a time", Faces(), "EhEEEdEE"
xl.Workbooks.Add
Check "another workbook active: the bar as before connecting", Faces(), "EEhddddE"
book.Activate
Check "the control's workbook again: connected, one measurement at a time", Faces(), "EhEEEdEE"

' The analyzer's screen image, placed in the active sheet.
desk.Clear
desk.OnForm "frmGetScreenImage", Array("click picturePlacement", "click okButton")
Set shapes = xl.ActiveSheet.Shapes
i = shapes.Count
ctl.DoSaveScreenImage
Check "Get Screen Image places the analyzer's screen in the sheet", shapes.Count, i + 1
Check "as answered", desk.Transcript & desk.Problems, "form frmGetScreenImage (Get Screen Image)" & vbLf

' The analyzer goes away: Get Data reports it in the command's message.
CreateObject("WScript.Shell").Run "start /wait /unix /bin/kill " & WScript.Arguments(3), 0, True
desk.Clear
desk.OnMessage "Data Transfer Failure", 0
ctl.DoDataTransfer more, start
Const failure = "message Error 16: Data Transfer Failure"
Check "Get Data without its analyzer shows the failure, critical, titled Error", _
      Left(desk.Transcript, Len(failure) + 21), failure & vbCrLf & "Error Description: "
Check "naming the analyzer that went", InStr(desk.Transcript, address) > 0, True
Check "as answered", desk.Problems, ""
box.Remove
Finish
