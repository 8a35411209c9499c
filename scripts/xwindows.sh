# Sourced by the scripts that drive the game on a virtual X display with no
# window manager, where every window opens at the top left without a frame.

# Prints the id of the shown "Hyper Jorv" window that is $1 pixels wide: the
# title screen is 501, the game window 504.
window_of_width() {
  local id
  # A window found may be gone a moment later (the title screen as the game
  # window replaces it), and xdotool's complaint about it is no news.
  for id in $(xdotool search --onlyvisible --name '^Hyper Jorv$' 2>/dev/null); do
    if xdotool getwindowgeometry "$id" 2>/dev/null | grep -q "Geometry: $1x"; then
      echo "$id"
      return 0
    fi
  done
  return 1
}
