# The spotting readers: PackSpot.txt, the spot line and its acceptance, the
# serial and telnet line assembly, the AGW frames and their text.
list(APPEND FUZZ_LOGIC
  ${SRC}/platform/agwframe.cpp
  ${SRC}/spots/spotline.cpp ${SRC}/spots/spotsettings.cpp ${SRC}/spots/spotintake.cpp ${SRC}/spots/spotstore.cpp)
list(REMOVE_DUPLICATES FUZZ_LOGIC)
