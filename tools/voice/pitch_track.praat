# Prints the pitch track of each WAVE file named in a list, as Praat measures it from
# the audio: a line "FILE" then one line "TIME HZ" a voiced 5 ms frame, and "end".
#   praat --run pitch_track.praat LIST.txt FLOOR CEILING
form Pitch tracks
    sentence list
    positive floor 60
    positive ceiling 300
endform
files = Read Strings from raw text file: list$
count = Get number of strings
for k to count
    selectObject: files
    file$ = Get string: k
    sound = Read from file: file$
    pitch = To Pitch: 0.005, floor, ceiling
    frames = Get number of frames
    appendInfoLine: file$
    for frame to frames
        hz = Get value in frame: frame, "Hertz"
        if hz <> undefined
            t = Get time from frame number: frame
            appendInfoLine: fixed$(t, 4), " ", fixed$(hz, 2)
        endif
    endfor
    appendInfoLine: "end"
    removeObject: sound, pitch
endfor
