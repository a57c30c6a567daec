' The library's dialogs and message boxes on the scripts' desktop, "ZELTest.Desktop": the script
' answers them as the person at the screen would and reads back what the library showed.
Dim desk, xl, ctl, more, start
Set desk = CreateObject("ZELTest.Desktop")
Check "every CreateObject of the desktop gives the one of the process", desk Is CreateObject("ZELTest.Desktop"), True

Set xl = CreateObject("ZELTest.ExcelApplication")
xl.Workbooks.Add
Set ctl = CreateObject("ZELControlProj.ZELControl")
Set ctl.ConnectedApplication = xl

' Get Data with no instrument connected: the command's failure, in its critical message box.
desk.OnMessage "Data Transfer Failure", 0
more = False
ctl.DoDataTransfer more, start
Check "Get Data without an instrument shows its failure with the critical icon and its title", desk.Transcript, _
      "message Error 16: Data Transfer Failure" & vbCrLf & _
      "Error Description: No instrument link: connect to an analyzer first" & vbLf
Check "and goes no further", more, False
Check "as scripted", desk.Problems, ""
desk.Clear

' A dialog opened from a dialog: each is answered in turn, the inner one while the outer waits.
desk.OnForm "FrmAbout", Array("click cmdVersionInfo", "click cmdOK")
desk.OnForm "Component Version Information", "click cmdOK"
ctl.DoAbout
Check "About and the component versions it opens are shown", desk.Transcript, _
      "form FrmAbout (Corvane ORV/ZEL-Q/R/VX Spectrum Analyzers)" & vbLf & "form FrmVersionInfo (Component Version Information)" & vbLf
Check "and closed as scripted", desk.Problems, ""
desk.Clear

' An answer the dialog cannot take is reported, and the dialog does not hold the host; a dialog
' nobody scripted is closed too.
desk.OnForm "FrmAbout", Array("click noSuchButton", "click cmdOK")
ctl.DoAbout
ctl.DoAbout
Check "a control the dialog lacks, and a dialog not scripted, are reported", desk.Problems, _
      "FrmAbout: FrmAbout has no control noSuchButton" & vbLf & "FrmAbout was left open" & vbLf & _
      "not scripted: the form FrmAbout" & vbLf & "FrmAbout was left open" & vbLf
Finish
