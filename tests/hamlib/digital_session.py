#!/usr/bin/python3
"""The calls a digital-mode program makes with its split set to "Rig", through Hamlib's Python
binding's network client, one line printed per call: its name, its status and what it read.

    digital_session.py HOST:PORT [--step]

With --step the script waits for a line on its input after each call, so a test can look at the
radio between them.
"""
import sys

import Hamlib


def main():
    step = "--step" in sys.argv[2:]
    Hamlib.rig_set_debug(Hamlib.RIG_DEBUG_NONE)
    rig = Hamlib.Rig(Hamlib.RIG_MODEL_NETRIGCTL)
    rig.set_conf("rig_pathname", sys.argv[1])
    rig.open()
    # Every read asks the server, as a polling program's reads do once the cache has aged.
    Hamlib.rig_set_cache_timeout_ms(rig.rig, Hamlib.HAMLIB_CACHE_ALL, 0)
    print(f"open {rig.error_status}", flush=True)
    if step:
        sys.stdin.readline()

    def call(name, fn, *args):
        value = fn(*args)
        status = rig.error_status
        if isinstance(value, (list, tuple)):
            value = " ".join(str(v) for v in value)
        print(f"{name} {status} {'' if value is None else value}".rstrip(), flush=True)
        if step:
            sys.stdin.readline()

    cur = Hamlib.RIG_VFO_CURR
    call("set_freq", rig.set_freq, cur, 14074000)
    call("set_mode", rig.set_mode, Hamlib.RIG_MODE_USB, 0)
    call("get_freq", rig.get_freq, cur)
    call("get_mode", rig.get_mode, cur)
    call("set_split_vfo_on", rig.set_split_vfo, Hamlib.RIG_SPLIT_ON, Hamlib.RIG_VFO_B)
    call("set_split_freq", rig.set_split_freq, cur, 14075500)
    call("set_split_mode", rig.set_split_mode, Hamlib.RIG_MODE_USB, 0)
    call("get_split_mode", rig.get_split_mode)
    call("get_split_freq", rig.get_split_freq, cur)
    call("ptt_on", rig.set_ptt, cur, Hamlib.RIG_PTT_ON)
    call("get_ptt", rig.get_ptt, cur)
    call("ptt_off", rig.set_ptt, cur, Hamlib.RIG_PTT_OFF)
    call("set_split_vfo_off", rig.set_split_vfo, Hamlib.RIG_SPLIT_OFF, Hamlib.RIG_VFO_A)
    call("set_vfo_a", rig.set_vfo, Hamlib.RIG_VFO_A)
    call("get_vfo", rig.get_vfo)
    call("toggle", rig.vfo_op, cur, Hamlib.RIG_OP_TOGGLE)
    call("get_vfo_b", rig.get_vfo)
    call("get_freq_b", rig.get_freq, cur)
    call("toggle", rig.vfo_op, cur, Hamlib.RIG_OP_TOGGLE)
    call("get_vfo_a", rig.get_vfo)
    call("get_freq_a", rig.get_freq, cur)
    call("strength", rig.get_level_i, Hamlib.RIG_LEVEL_STRENGTH)
    rig.close()


if __name__ == "__main__":
    main()
