# The radio link's readers: RigCntrl.txt, BandPlan.txt, PEGASUS.OUT and the
# CAT answers with the poll that assembles them (over the fake serial port).
find_package(Qt6 REQUIRED COMPONENTS SerialPort)
link_libraries(Qt6::SerialPort)
list(APPEND FUZZ_LOGIC
  ${SRC}/platform/serial.cpp
  ${SRC}/rig/catparse.cpp ${SRC}/rig/rigfamilies.cpp ${SRC}/rig/rigpoll.cpp ${SRC}/rig/readback.cpp
  ${SRC}/rig/rigsettings.cpp ${SRC}/rig/bandplan.cpp)
list(REMOVE_DUPLICATES FUZZ_LOGIC)
