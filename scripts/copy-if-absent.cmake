# cmake -DSRC=file -DDST=file -P copy-if-absent.cmake: copies SRC to DST only
# when DST does not exist (a shipped file never replaces the operator's own).
if(NOT EXISTS "${DST}")
  get_filename_component(dir "${DST}" DIRECTORY)
  file(MAKE_DIRECTORY "${dir}")
  file(COPY_FILE "${SRC}" "${DST}")
endif()
