# Keying: the settings files cw.txt, wave2.txt and WK.txt, the bytes from the
# WinKey keyer and the lines of the Zell RTTY link.
list(APPEND FUZZ_LOGIC
  ${SRC}/keying/cwsettings.cpp ${SRC}/keying/phonefrm_settings.cpp ${SRC}/keying/winkeysettings.cpp
  ${SRC}/keying/winkeyinput.cpp ${SRC}/keying/zelllines.cpp)
