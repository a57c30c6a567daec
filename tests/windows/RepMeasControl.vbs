' The Repeated Measurements schedule under both its ProgIDs, with out arguments by reference.
Dim schedule, immed, d, progId
For Each progId In Array("ZELControlProj.repMeasControl", "KroRepeatedMeasure.RepeatMeasurement")
  Set schedule = CreateObject(progId)
  schedule.interval = 45
  schedule.numOfSamples = 7
  Check progId & ": the interval set", schedule.interval, CDbl(45)
  Check progId & ": the samples set", schedule.numOfSamples, CLng(7)
  Check progId & ": samples counted, not a duration", schedule.SamplesSpecifiedByDuration, False

  schedule.Init True, Now
  immed = Empty
  d = #1/2/2003#
  schedule.GetStartTime immed, d
  Check progId & ": an immediate start comes back by reference", immed, True
  Check progId & ": and leaves the caller's date", d, #1/2/2003#

  schedule.Init False, #12/4/2099 8:16:00 AM#
  schedule.GetStartTime immed, d
  Check progId & ": a set time comes back by reference", immed, False
  Check progId & ": with its date and time", d, #12/4/2099 8:16:00 AM#
Next
Finish
