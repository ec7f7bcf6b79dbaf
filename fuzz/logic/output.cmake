# Log output: the ADIF reader and the data files of the append and restore.
list(APPEND FUZZ_LOGIC
  ${SRC}/output/adif.cpp ${SRC}/output/adifread.cpp ${SRC}/output/textwriter.cpp ${SRC}/platform/numtext.cpp
  ${SRC}/output/combine.cpp)
