' The system converts arguments as oleaut32 does: each value goes through VBScript's own CLng,
' CStr, CDate and CInt and through a member of the library that takes a Long, a String, a Date
' or an Integer, and the results (or the error numbers) must be the same.
Dim dt, ctl, server
Set dt = CreateObject("ZELControlProj.DataTransfer")
Set ctl = CreateObject("ZELControlProj.ZELControl")
Set server = ctl.ZelServer

Sub SameLong(value)
  Dim expected, actual
  On Error Resume Next
  expected = CLng(value)
  If Err.Number <> 0 Then expected = "error " & Err.Number
  Err.Clear
  dt.m_numSamples = value
  If Err.Number = 0 Then actual = dt.m_numSamples Else actual = "error " & Err.Number
  On Error GoTo 0
  Check "CLng(" & Shown(value) & ")", actual, expected
End Sub

Sub SameString(value)
  Dim expected, actual
  On Error Resume Next
  expected = CStr(value)
  If Err.Number <> 0 Then expected = "error " & Err.Number
  Err.Clear
  dt.startCell = value
  If Err.Number = 0 Then actual = dt.startCell Else actual = "error " & Err.Number
  On Error GoTo 0
  Check "CStr(" & Shown(value) & ")", actual, expected
End Sub

Sub SameDate(value)
  Dim expected, actual
  On Error Resume Next
  expected = CDate(value)
  If Err.Number <> 0 Then expected = "error " & Err.Number
  Err.Clear
  dt.m_startDate = value
  If Err.Number = 0 Then actual = dt.m_startDate Else actual = "error " & Err.Number
  On Error GoTo 0
  Check "CDate(" & Shown(value) & ")", actual, expected
End Sub

' An Integer argument: the conversion fails before the instrument is asked, or passes and the
' call goes on to an instrument that is not there.
Sub SameInteger(value)
  Dim expected, actual, ignored
  On Error Resume Next
  ignored = CInt(value)
  expected = Err.Number
  Err.Clear
  ignored = server.TraceMode(value)
  actual = Err.Number
  On Error GoTo 0
  If actual <> 6 And actual <> 13 And actual <> 94 Then actual = CLng(0)
  Check "CInt(" & Shown(value) & ")", actual, expected
End Sub

Dim v
For Each v In Array(2.5, 3.5, -2.5, -3.5, "12", " 12 ", "1e3", "1,234", True, 2147483647, 2147483648, -2147483648, -2147483649, "abc", "", Empty, #1/1/2000 6:00:00 PM#, "&H10", "&O17", "&hFFFF", "&HFFFFFFFF", "&H100000000", "&H", "&O8")
  SameLong v
Next
For Each v In Array(1.5, 1/3, 2/3, 1E+20, 1E-05, 0.1 + 0.2, 123456789012345, 1234567890123456, -0, True, False, #12/4/2026 8:16:18 AM#, #8:16:00 PM#, #12/4/2026#, CByte(7), CInt(-3), CLng(70000), Empty, Null, 1E-300, -1.5E+300, 0.000123, 1E+15, 999999999999999, 123456789.123, #12/31/2026#, #1/1/100#, #12/31/9999 11:59:59 PM#, CDate(0), CDate(-1.5))
  SameString v
Next
For Each v In Array("12/4/2026", "12/4/2026 8:16:18 AM", "8:16 PM", "2026-12-04 08:16:18", "12/4/2026 20:16", 46000.25, 0, -1.5, "abc", "", Null, "31/12/2026", "2026-12-31", "Dec 31, 2026", "31 December 2026", "13/13/2026")
  SameDate v
Next
For Each v In Array(12, 32767, 32767.5, 32766.5, -32768.5, -32769, 40000, "12", "abc", 2.5, True, "&HFFFF", "&H10000")
  SameInteger v
Next
Finish
