# Prints a clip's pitch as Praat measures it from the audio: the highest value
# and the last voiced frame's, in Hz.  praat --run pitch.praat FILE.wav FLOOR CEILING
form Pitch of a clip
    sentence file
    positive floor 60
    positive ceiling 300
endform
sound = Read from file: file$
pitch = To Pitch: 0, floor, ceiling
frames = Get number of frames
last = undefined
for frame from 1 to frames
    value = Get value in frame: frame, "Hertz"
    if value <> undefined
        last = value
    endif
endfor
highest = Get maximum: 0, 0, "Hertz", "Parabolic"
writeInfoLine: fixed$(highest, 1), " ", fixed$(last, 1)
