# cmake -DICONS=PREFIX/share/icons/hicolor -DAPP_ID=ID -P check_icons.cmake
# Passes when the theme holds the drawing and, at every size desktops ask for, a PNG that
# is square and of that size.
if(NOT EXISTS ${ICONS}/scalable/apps/${APP_ID}.svg)
  message(FATAL_ERROR "missing: ${ICONS}/scalable/apps/${APP_ID}.svg")
endif()
foreach(size 16 32 48 128 256)
  set(png ${ICONS}/${size}x${size}/apps/${APP_ID}.png)
  if(NOT EXISTS ${png})
    message(FATAL_ERROR "missing: ${png}")
  endif()
  # The PNG signature, then the IHDR chunk with the width and height as 32-bit numbers.
  file(READ ${png} head LIMIT 24 HEX)
  string(SUBSTRING "${head}" 0 32 signature)
  string(SUBSTRING "${head}" 32 8 width)
  string(SUBSTRING "${head}" 40 8 height)
  math(EXPR width "0x${width}")
  math(EXPR height "0x${height}")
  if(NOT signature STREQUAL "89504e470d0a1a0a0000000d49484452")
    message(FATAL_ERROR "${png} is not a PNG")
  elseif(NOT width EQUAL size OR NOT height EQUAL size)
    message(FATAL_ERROR "${png} is ${width} x ${height}, not ${size} x ${size}")
  endif()
endforeach()
