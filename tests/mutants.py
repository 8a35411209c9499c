# The project's own plausible faults, in the format of the shared list: (id,
# file, text as it stands, text with the fault, what goes wrong). Faults in
# behaviour added since the shared list was written, and the shared list's
# faults written again where their text no longer stands in the code (the
# description names the shared id they stand for).
MUTANTS = [
    ('p01', 'engine/stagerun.cpp',
     'pumpCalls(services_.pump, std::int64_t{charDelay} + 1);',
     'pumpCalls(services_.pump, std::int64_t{charDelay});',
     'for 01: spellOut makes charDelay+1 calls a character instead of charDelay+2'),
    ('p02', 'runtime/calibration.cpp',
     'while (services_.clock.steadySeconds() - began <= window) {',
     'while (services_.clock.steadySeconds() - began < window) {',
     'for 51: the measurement stops at the deadline instead of after it'),
    ('p03', 'runtime/calibration.cpp',
     'while (services_.clock.steadySeconds() - began <= window) {',
     'while (services_.clock.secondsSinceMidnight() <= deadline) {',
     'for 53: the window timed on the time of day, which midnight and clock steps break'),
    ('p04', 'runtime/calibration.cpp',
     'pumpCalls(services_.pump, calibrationCount, [this]',
     'pumpCalls(services_.pump, calibrationCount - 1, [this]',
     'for 55: the hand-over pumps one call short'),
    ('p05', 'runtime/pumpwait.cpp',
     '        if (counter == topOfRange)\n            break;\n',
     '',
     'a wait whose counter a handler moved to the top of its range steps past it'),
    ('p06', 'engine/stagerun.cpp',
     'pumpCalls(services_.pump, nearest(speedCount * 1.1));',
     'pumpCalls(services_.pump, nearest(speedCount * 1.0));',
     'answer time one unit instead of 1.1'),
]
