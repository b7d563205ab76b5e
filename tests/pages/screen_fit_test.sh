#!/usr/bin/env bash
# Runs the screen-fit test on a virtual 1024x768 screen under openbox, whose
# 40-pixel bottom margin stands for a desktop panel.
set -euo pipefail
test_binary=$1
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
cat >"$config/rc.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <margins><top>0</top><bottom>40</bottom><left>0</left><right>0</right></margins>
</openbox_config>
XML
xvfb-run -a -s "-screen 0 1024x768x24" bash -c "
  openbox --config-file '$config/rc.xml' &
  sleep 1
  QT_QPA_PLATFORM=xcb '$test_binary'
  status=\$?
  kill %1
  exit \$status"
