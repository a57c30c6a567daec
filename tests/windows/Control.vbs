' The control by its ProgID: its Utilities and IDebugContainer faces, and the classes that only
' the library itself creates.
Dim ctl, server, container, progId
Set ctl = CreateObject("ZELControlProj.ZELControl")

Set server = ctl.ZelServer
Check "the control makes its instrument server on first use", server Is Nothing, False
Check "and hands out the same one again", ctl.ZelServer Is server, True
Set ctl.ZelServer = server
Check "a server handed back in is the control's own again", ctl.ZelServer Is server, True

Set container = CreateObject("Scripting.Dictionary")
Set ctl.DbgContainer = container
Check "another component's object comes back as itself", ctl.DbgContainer Is container, True
ctl.DbgContainer.Add "key", "value"
Check "and the control's copy of it calls through to it", container("key"), "value"

On Error Resume Next
ctl.NoSuchCommand
Check "an unknown method raises 438", Err.Number, CLng(438)
Err.Clear
Dim x
x = ctl.NoSuchProperty
Check "an unknown property raises 438", Err.Number, CLng(438)
Err.Clear
For Each progId In Array("ZELControlProj.DataConnection", "ZELControlProj.ZELEventClass", "ZELControlProj.Utilities")
  Set x = CreateObject(progId)
  Check progId & " cannot be created from outside (429)", Err.Number, CLng(429)
  Err.Clear
Next
On Error GoTo 0
For Each progId In Array("ZELControlProj.ExcelDataConnection", "ZELControlProj.WordDataConnection")
  Set x = CreateObject(progId)
  Check progId & " can", x Is Nothing, False
Next
Finish
