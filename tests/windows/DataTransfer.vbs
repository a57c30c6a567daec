' DataTransfer by its ProgID: its fields and properties, and its state through a property bag.

' The container's side of a property bag, as a host keeps it.
Class ScriptBag
  Private values
  Private Sub Class_Initialize()
    Set values = CreateObject("Scripting.Dictionary")
    values.CompareMode = 1
  End Sub
  Public Function ReadProperty(name)
    If values.Exists(name) Then ReadProperty = values(name)
  End Function
  Public Sub WriteProperty(name, value)
    values(name) = value
  End Sub
  Public Property Get Count()
    Count = values.Count
  End Property
End Class

Dim dt, other, bag
Set dt = CreateObject("ZELControlProj.DataTransfer")
Check "a new transfer takes one sample", dt.m_numSamples, CLng(1)
Check "a new transfer makes a graph", dt.m_makeExcelGraph, True
Check "a new transfer starts at once", dt.m_immediately, False

dt.m_interval = 30
dt.m_numSamples = "12"
dt.m_startDate = DateSerial(2026, 12, 4) + TimeSerial(8, 16, 18)
dt.m_makeExcelGraph = False
dt.startCell = "B3"
Check "a Long field keeps its value", dt.m_interval, CLng(30)
Check "a text becomes the Long field's number", dt.m_numSamples, CLng(12)
Check "a Date field keeps date and time", dt.m_startDate, DateSerial(2026, 12, 4) + TimeSerial(8, 16, 18)
Check "a Boolean field keeps False", dt.m_makeExcelGraph, False
Check "a property keeps its text", dt.startCell, "B3"
Check "a new transfer has no annotations", dt.annotations Is Nothing, True

Set bag = New ScriptBag
dt.WriteProperties bag
Check "the transfer writes its state into the bag", bag.Count > 0, True
Set other = CreateObject("ZELControlProj.DataTransfer")
other.ReadProperties bag
Check "the interval comes back from the bag", other.m_interval, CLng(30)
Check "the samples come back from the bag", other.m_numSamples, CLng(12)
Check "the start comes back from the bag", other.m_startDate, DateSerial(2026, 12, 4) + TimeSerial(8, 16, 18)
Check "the graph option comes back from the bag", other.m_makeExcelGraph, False
Check "the start cell comes back from the bag", other.startCell, "B3"

On Error Resume Next
dt.m_numSamples = "many"
Check "a text that is no number raises Type mismatch", Err.Number, CLng(13)
Check "with VB's description", Err.Description, "Type mismatch"
Err.Clear
dt.NoSuchMember = 1
Check "an unknown member raises 438", Err.Number, CLng(438)
Err.Clear
On Error GoTo 0
Finish
