# png_size(FILE WIDTH_VAR HEIGHT_VAR): a PNG's size in pixels from its header, the 8-byte
# signature then the IHDR chunk whose data starts with width and height (big endian); both are
# set to NOTFOUND when FILE is not a PNG.
function(png_size file width_var height_var)
  file(READ "${file}" header LIMIT 24 HEX)
  string(LENGTH "${header}" length)
  set(width NOTFOUND)
  set(height NOTFOUND)
  if(length EQUAL 48 AND header MATCHES "^89504e470d0a1a0a")
    string(SUBSTRING "${header}" 32 8 width_hex)
    string(SUBSTRING "${header}" 40 8 height_hex)
    math(EXPR width "0x${width_hex}")
    math(EXPR height "0x${height_hex}")
  endif()
  set(${width_var} ${width} PARENT_SCOPE)
  set(${height_var} ${height} PARENT_SCOPE)
endfunction()
