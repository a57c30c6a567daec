' Put before every script by run-vbscript.sh: one PASS or FAIL line per check, and the exit code
' counts the failures.
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

Sub Finish()
  ' A script stopped by an error it did not trap never gets here: run.sh looks for this line.
  WScript.Echo "END"
  WScript.Quit failures
End Sub
