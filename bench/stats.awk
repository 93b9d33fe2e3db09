# The statistics' two lists by a plain awk program, as the measure to beat: the leading
# addresses (source for "in", target for "out") and target ports of the chosen action and
# direction. Run with -v action=block -v direction=in; prints "address<TAB>count" and
# "port<TAB>count" lines, to be sorted by count.
{
    line = $0
    if (line == "" || index(line, "ethertype Unknown"))
        next
    gsub(/   /, " ", line)
    gsub(/  /, " ", line)
    n = split(line, f, / /)
    if (n < 15)
        next
    s = f[13]
    t = f[15]
    if (s ~ /^"pdl=/ || s ~ /^@/ || s ~ /^0\.0\.0\.0/ || s ~ /^::/)
        next
    ns = split(s, sp, ".")
    nt = split(t, tp, ".")
    if (ns != nt || (ns != 5 && ns != 2))
        next
    if (ns == 5) {
        sa = sp[1] "." sp[2] "." sp[3] "." sp[4]
        ta = tp[1] "." tp[2] "." tp[3] "." tp[4]
    } else {
        sa = sp[1]
        ta = tp[1]
    }
    port = tp[ns]
    gsub(/:/, "", port)
    if (substr(ta, 1, 8) == "224.0.0." || sp[ns] == "5353" || ta ~ /\.255$/)
        next
    if (f[9] != action || f[10] != direction)
        next
    addresses[direction == "in" ? sa : ta]++
    ports[port]++
}
END {
    for (a in addresses)
        print "address\t" a "\t" addresses[a]
    for (p in ports)
        print "port\t" p "\t" ports[p]
}
