// The whole program under a random operator against a misbehaving radio: after every step and
// every quiet period the invariants hold (tests/support/RandomOperator.h). A failing seed prints
// the shortest sequence of steps that still fails, each step also as a row for the table below.

#include "tests/support/RandomOperator.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <sstream>
#include <string>

namespace kivo::testing {
namespace {

// The shortest sequences the operator found faults with, replayed whole; each failed before its
// fix. A fault: what it was, then its steps as a failure's listing prints them.
const char* const kFound = R"(
the frame gap's wait asked the virtual clock to move by nothing, for ever (the meter at 100 ms, PMS from the keyboard)
{Act::MckHold, 1009678962u, 3885994707u, 208} {Act::Knob, 2429371313u, 2690239917u, 420}
{Act::PanelKey, 2773509754u, 3300419895u, 1000} {Act::Wait, 3783777118u, 4250611910u, 193}
{Act::Jog, 3604202159u, 3793025530u, 214} {Act::RadioVfo, 463511977u, 2555241988u, 340}
{Act::PanelKey, 183444739u, 3246053951u, 213} {Act::RadioVfo, 2216683096u, 976519213u, 17}
{Act::Keyboard, 3384537992u, 581750411u, 37} {Act::Network, 59214650u, 1168640888u, 48}
{Act::PanelKey, 2889380445u, 3591883539u, 124} {Act::Network, 3748768871u, 852660260u, 198}
{Act::Wait, 225207765u, 2440239850u, 197} {Act::Jog, 2322188694u, 3277344218u, 76}
{Act::PanelKey, 3348927666u, 1474737445u, 143} {Act::Menu, 1477413879u, 2095290067u, 159}
{Act::Keyboard, 328032002u, 1146995973u, 160}

the port lost with SUB on left the radio on VFO B after POWER
{Act::MckHold, 1009678962u, 3885994707u, 208} {Act::Keyboard, 3384537992u, 581750411u, 37}
{Act::Keyboard, 4218264456u, 1172734647u, 207} {Act::LineFault, 3603337558u, 2780241893u, 133}
{Act::PanelKey, 3939046472u, 4269401415u, 149}

PRI under SUB let SCAN start a scan inside the priority check's wait
{Act::PanelKey, 743263529u, 372062083u, 42} {Act::Menu, 2101476662u, 2786387640u, 2}
{Act::LineFault, 1155639688u, 527290586u, 93} {Act::Keyboard, 152398638u, 1806614720u, 202}
{Act::Menu, 2703261325u, 1460740820u, 59} {Act::PanelKey, 969706249u, 4027693625u, 36}
{Act::PanelKey, 1677046802u, 4019473275u, 8} {Act::PanelKey, 1001660201u, 1141385742u, 970}
{Act::Network, 2512203183u, 2710419295u, 58} {Act::Menu, 3340432557u, 3781609463u, 565}
{Act::PanelKey, 1193316024u, 4232398736u, 760} {Act::PanelKey, 2019262386u, 1242995739u, 201}
{Act::Jog, 770035002u, 3773323082u, 565} {Act::Network, 1285465370u, 2793527737u, 1265}
{Act::Keyboard, 1579027204u, 3519764118u, 218} {Act::RadioVfo, 596243561u, 1255949975u, 77}
{Act::Keyboard, 1837152158u, 4187942373u, 151} {Act::Keyboard, 760011401u, 1207824667u, 93}
{Act::Knob, 2388481507u, 1675588952u, 57}

a transmit off lost on the line left the radio on air
{Act::PanelKey, 743263529u, 372062083u, 42} {Act::PanelKey, 969706249u, 4027693625u, 36}
{Act::LineFault, 3413868349u, 431075553u, 144} {Act::Keyboard, 1928197080u, 3892890934u, 91}
{Act::PanelKey, 1932127513u, 1974390603u, 53} {Act::Knob, 3512370691u, 736255421u, 76}
{Act::MckHold, 3919280947u, 1386663607u, 182} {Act::Keyboard, 1349307933u, 4208377799u, 174}
{Act::PanelKey, 2359479945u, 2491469136u, 1360} {Act::PanelKey, 1716852052u, 2816276886u, 33}
{Act::Network, 138068149u, 2685207609u, 780} {Act::Keyboard, 229187989u, 1216969330u, 224}

split off lost with the port left the radio in split after POWER
{Act::Network, 3064227273u, 2731914412u, 67} {Act::LineFault, 1646335908u, 3798493825u, 1070}

PMS under SUB sent the main VFO's PMS state into the sub VFO
{Act::Network, 2485364415u, 984081634u, 179} {Act::Keyboard, 2975641688u, 440143885u, 27}
{Act::Keyboard, 1437600984u, 891286651u, 99}

V/M ending the priority monitor left its scan direction, holding the dial reading off for good
{Act::PanelKey, 1021895376u, 3399207930u, 285} {Act::PanelKey, 3992626159u, 4235935452u, 113}
{Act::RadioMode, 2050081526u, 1126358401u, 380}

a transmit off owed after a lost port was forgotten when the port had gone again
{Act::PanelKey, 2622052396u, 1587580220u, 865} {Act::LineFault, 222277968u, 3091660504u, 560}
{Act::Menu, 3989362474u, 2516504792u, 415} {Act::LineFault, 1538572368u, 3658738079u, 78}
{Act::LineFault, 1183280008u, 4083680929u, 31} {Act::Menu, 2991549830u, 2824195450u, 62}

SUB switched the panel's VFO before the radio's: a scan step in the toggle's first pause landed on VFO B
{Act::PanelKey, 1494118801u, 1268044499u, 92} {Act::PanelKey, 813937663u, 663698766u, 11}
{Act::Keyboard, 534123245u, 3808710806u, 229} {Act::Jog, 781202699u, 716507442u, 28}
{Act::Network, 1219410582u, 1311766292u, 74} {Act::Jog, 2148173964u, 2875547623u, 57}

Exit after the port came back forgot the transmit off it owed
{Act::Network, 3157077317u, 4172237946u, 83} {Act::LineFault, 4028210508u, 2737424704u, 156}
{Act::Menu, 859770902u, 799870910u, 166}

Exit after the port came back forgot the split off it owed
{Act::PanelKey, 1165931236u, 304073463u, 50} {Act::LineFault, 2526375758u, 1351526172u, 63}
{Act::Menu, 3248377448u, 2150221423u, 216}

the transmit off owed after a lost port went out once, and was lost on the line
{Act::PanelKey, 3970786245u, 1251520594u, 216} {Act::LineFault, 4175367249u, 2043984075u, 148}
{Act::LineFault, 2240227938u, 987919035u, 52}

a port chosen from the menu after a loss was never reported lost again, so transmit off was not owed
{Act::PanelKey, 2607890991u, 1775373696u, 310} {Act::Menu, 890321848u, 1079422391u, 1430}
{Act::LineFault, 1998228888u, 70591938u, 98} {Act::Menu, 326672019u, 4074008721u, 103}
{Act::PanelKey, 3734146372u, 2799643192u, 236} {Act::PanelKey, 3277127975u, 1628549284u, 208}
{Act::LineFault, 3222234018u, 4033983358u, 17} {Act::Menu, 130676837u, 1307238389u, 59}

HOME ending the priority monitor left its scan direction, holding the dial reading off for good
{Act::Keyboard, 3233157535u, 3200031285u, 126} {Act::PanelKey, 3335041386u, 3843095028u, 79}
{Act::RadioDial, 998764554u, 2523525327u, 39}

a scan step in the toggles around SPLIT's sub VFO send landed on VFO B
{Act::MckHold, 3436048857u, 3817616393u, 178} {Act::MckHold, 608731421u, 1225530925u, 59}
{Act::Scope, 994296536u, 2021184620u, 128} {Act::PanelKey, 3624125555u, 4195724901u, 101}
{Act::Scope, 1053843902u, 687686360u, 655} {Act::MemoryManager, 4155269433u, 2685107324u, 105}
{Act::PanelKey, 1181990816u, 977891032u, 249} {Act::Scope, 333257303u, 1879846207u, 226}
{Act::Keyboard, 2404356665u, 1492594660u, 63} {Act::Keyboard, 3425798399u, 987653166u, 52}
{Act::PanelKey, 721431557u, 2185353145u, 245} {Act::PanelKey, 2897052898u, 2295011008u, 74}

SCAN with SUB rounded the main VFO to the scan's step, which never went to the radio
{Act::MckHold, 3436048857u, 3817616393u, 178} {Act::MckHold, 608731421u, 1225530925u, 59}
{Act::Knob, 3085557879u, 957430865u, 1320} {Act::PanelKey, 688665858u, 1782320128u, 82}
{Act::PanelKey, 2034113832u, 2795057010u, 144} {Act::Jog, 2648687779u, 1655283408u, 146}
{Act::Network, 1478177750u, 3390697162u, 164}

a request's wait for earlier answers, restarted by every frame written meanwhile, never ended (a scope sweep, a lost frame, the main knob)
{Act::Keyboard, 3878797616u, 2204168564u, 138} {Act::MckHold, 3257207616u, 2216638692u, 38}
{Act::PanelKey, 378504857u, 2706155602u, 134} {Act::PanelKey, 2814340976u, 1764498144u, 112}
{Act::Scope, 4095458571u, 3292140270u, 935} {Act::PanelKey, 288127378u, 774155004u, 1380}
{Act::PanelKey, 1821698531u, 205020189u, 145} {Act::LineFault, 4050336350u, 1161293603u, 229}
{Act::Scope, 504469940u, 2464023010u, 122} {Act::Knob, 2450493735u, 569744687u, 67}

the knob's resend of the tuned frequency, between the toggles around a split memory's sub VFO, landed on VFO B
{Act::PanelKey, 3480892621u, 189290331u, 173} {Act::Knob, 2497710098u, 416448836u, 172}

Exit after a port chosen since the loss sent nothing the radio was owed: SUB had left it on VFO B
{Act::PanelKey, 395656411u, 2990776182u, 96} {Act::LineFault, 2767856548u, 424124576u, 495}
{Act::Menu, 2022463464u, 1454464583u, 126} {Act::Menu, 2239933448u, 2758376456u, 68}

Exit after a port chosen since the loss sent nothing the radio was owed: split stayed on
{Act::PanelKey, 2811025072u, 1099000115u, 53} {Act::LineFault, 735984448u, 1983963984u, 238}
{Act::Menu, 75911805u, 1028134722u, 4} {Act::Menu, 3495061364u, 341432834u, 179}

Exit with no port forgot what the radio was owed, so the next start worked VFO B as the main VFO
{Act::PanelKey, 569151274u, 520633105u, 1270} {Act::LineFault, 2491861828u, 1716257760u, 181}
{Act::Menu, 2745659746u, 768791582u, 234} {Act::Menu, 3839822729u, 424515730u, 800}
{Act::Menu, 2496086663u, 62420308u, 9} {Act::PanelKey, 2845870544u, 68832139u, 143}

Exit with no port forgot what the radio was owed, so the next start left split on
{Act::PanelKey, 2811025072u, 1099000115u, 53} {Act::LineFault, 735984448u, 1983963984u, 238}
{Act::Menu, 2745659746u, 768791582u, 234} {Act::Menu, 3839822729u, 424515730u, 800}
{Act::Menu, 2496086663u, 62420308u, 9} {Act::PanelKey, 2845870544u, 68832139u, 143}

Exit after the port was chosen again from the menu forgot the transmit off it owed
{Act::PanelKey, 1745365763u, 2798306224u, 42} {Act::LineFault, 3169767068u, 2642992268u, 1450}
{Act::Menu, 1876590887u, 2278746268u, 1475} {Act::Menu, 1837243382u, 3950938939u, 44}

a port lost unseen (the meter off) and found gone by the release at Exit never heard the transmit off it owed
{Act::PanelKey, 671075724u, 2470255788u, 380} {Act::Menu, 1423526638u, 2037965572u, 750}
{Act::LineFault, 3018189208u, 3436074376u, 1125} {Act::Menu, 3869062817u, 3286446540u, 17}

a port lost on air and given up for None never heard its transmit off (the disk full, the next start opened it)
{Act::Network, 3430098548u, 1929014240u, 237} {Act::File, 646505102u, 1354074704u, 71}
{Act::LineFault, 2110756358u, 1028163940u, 45} {Act::Menu, 3340986385u, 1531537126u, 194}
{Act::Menu, 4040120102u, 1949299075u, 133}

the scan's wait for the status slept to the resend time, which the elapsed time missed by a rounding, for ever
{Act::PanelKey, 3532814221u, 3157127620u, 87} {Act::Knob, 3103264913u, 4177314381u, 187}
{Act::Keyboard, 102610352u, 2538010158u, 40} {Act::PanelKey, 3107013104u, 1054259603u, 85}
{Act::PanelKey, 2082652577u, 1195961706u, 94} {Act::Keyboard, 113530649u, 2137940518u, 64}
{Act::Knob, 205805224u, 1079530434u, 192} {Act::Menu, 102646446u, 1928213080u, 231}
{Act::PanelKey, 3726111860u, 688141123u, 78} {Act::PanelKey, 540450699u, 36174449u, 124}
{Act::PanelKey, 756296715u, 48701449u, 123} {Act::Keyboard, 1168288332u, 1759140237u, 4}
{Act::Scope, 2162964004u, 682402215u, 214} {Act::PanelKey, 3256210856u, 1029152663u, 224}
{Act::PanelKey, 2652499185u, 1069993367u, 92} {Act::LineFault, 3816556359u, 330069634u, 237}
{Act::LineFault, 2578693022u, 1548142716u, 124} {Act::Menu, 84813561u, 181414384u, 1375}
{Act::PanelKey, 2052872107u, 2203371386u, 236} {Act::Keyboard, 992698541u, 1484404221u, 1485}
{Act::PanelKey, 925877477u, 1275025263u, 1080} {Act::Wait, 4276346572u, 3355886372u, 90}
{Act::PanelKey, 430603770u, 1972417007u, 222} {Act::LineFault, 2355651813u, 62947442u, 116}
{Act::LineFault, 825207181u, 4003320503u, 226} {Act::Network, 3684465729u, 3725783658u, 1200}

the wait for earlier answers slept to an answer's limit, which the elapsed time missed by a rounding, for ever (SEARCH, a lost frame)
{Act::PanelKey, 806421814u, 4209973283u, 243} {Act::MemoryManager, 994130562u, 712740613u, 365}
{Act::PanelKey, 1678484830u, 2877020568u, 246} {Act::Keyboard, 2458547923u, 2865015375u, 179}
{Act::Menu, 1543591846u, 486452485u, 33} {Act::Scope, 2496499387u, 518561773u, 800}
{Act::File, 1642623094u, 2972074627u, 174} {Act::Network, 973284273u, 46477143u, 89}
{Act::PanelKey, 1434726101u, 3861920274u, 9} {Act::PanelKey, 3305312473u, 1283802520u, 174}
{Act::Keyboard, 3759082085u, 3218024884u, 147} {Act::MckHold, 3212968905u, 266683500u, 42}
{Act::LineFault, 3669222757u, 3719909263u, 1370} {Act::PanelKey, 1721532286u, 2507474308u, 61}
{Act::Jog, 74550459u, 1880591385u, 11} {Act::Quiet, 1006351448u, 2249464847u, 51}
{Act::Scope, 2894164608u, 936081067u, 181} {Act::Keyboard, 582881808u, 3441915372u, 27}
{Act::PanelKey, 3818215017u, 2207107758u, 134} {Act::Network, 937979329u, 326589u, 151}
{Act::PanelKey, 1032683719u, 1554630672u, 64} {Act::Keyboard, 2064791342u, 2109862847u, 66}
{Act::Network, 4051658306u, 4071459802u, 58} {Act::Keyboard, 910787076u, 267648833u, 16}
{Act::Keyboard, 3094391697u, 743376138u, 188} {Act::LineFault, 1531739500u, 3367487019u, 244}
{Act::Keyboard, 957666651u, 3093423562u, 232}

the meter at 100 ms took the line at the end of every frame gap, so a DCS code waiting for it never went (SCAN armed, a client on air)
{Act::Menu, 961478823u, 1686462010u, 183} {Act::PanelKey, 1628883968u, 1770344605u, 1205}
{Act::Network, 884919166u, 225610375u, 168} {Act::Quiet, 1400822623u, 3893977943u, 77}
{Act::Menu, 3437856441u, 4037244934u, 203}

the scan with the pause OFF held on a steady carrier inside its tick's wait, so nothing else ever ran again
{Act::Menu, 2087614723u, 1098416622u, 755} {Act::PanelKey, 1966511887u, 2748378190u, 223}
{Act::Jog, 3564211100u, 1854290412u, 135} {Act::Jog, 2013724622u, 2551707999u, 229}
{Act::Quiet, 1053524514u, 3646816989u, 229} {Act::Quiet, 3819836456u, 2698807263u, 67}
{Act::Quiet, 3604986532u, 1756500519u, 51}

power off with the keypad open took the scan's stop for the digit 4, so the dial was never followed again (the port lost while scanning)
{Act::Keyboard, 2865530610u, 1651296062u, 1490} {Act::Jog, 3478548779u, 3123316753u, 246}
{Act::PanelKey, 2421253884u, 2591216567u, 189} {Act::Keyboard, 4015533269u, 3177499179u, 175}
{Act::LineFault, 1880740878u, 2733534650u, 11} {Act::RadioMode, 3420167888u, 286965313u, 227}
{Act::PanelKey, 1519159011u, 2831337752u, 157}

File New in MR with SUB on sent the main VFO into VFO B and the sub VFO into VFO A
{Act::PanelKey, 1396557635u, 532061814u, 228} {Act::PanelKey, 1395870438u, 524989830u, 53}
{Act::File, 3944722840u, 882758330u, 201} {Act::PanelKey, 2584047638u, 1772624816u, 53}

SCAN in MR with SUB on scanned the memories into VFO B
{Act::PanelKey, 1333752235u, 721488470u, 240} {Act::PanelKey, 3297182008u, 1294913085u, 34}
{Act::PanelKey, 2569189231u, 3109462943u, 89} {Act::Jog, 93363492u, 4236505315u, 84}
{Act::PanelKey, 4151744829u, 1280176634u, 116}

a memory scan stopped on a simplex memory left the sub VFO of a split memory it passed unsent
{Act::PanelKey, 920823355u, 3717395262u, 102} {Act::PanelKey, 1147698194u, 4176549873u, 66}
{Act::MemoryManager, 148455466u, 1939887739u, 53} {Act::Quiet, 3330447147u, 3846312959u, 156}
{Act::PanelKey, 1711268999u, 3269548530u, 241}

SWAP took a dial reading asked before it, answered for the old main VFO, into the swapped main VFO
{Act::Menu, 3891501864u, 611093378u, 241} {Act::Jog, 1847741550u, 550502323u, 107}
{Act::PanelKey, 1531445070u, 3833514803u, 44} {Act::PanelKey, 3243820218u, 3205333065u, 39}

a jog step between the priority monitor's toggles landed on VFO B
{Act::PanelKey, 4220837601u, 1296474147u, 151} {Act::Menu, 2242047113u, 3377768216u, 159}
{Act::RadioMode, 2763384552u, 4123391446u, 164} {Act::RadioDial, 3964066880u, 4275231716u, 239}
{Act::Menu, 1468660461u, 3918510112u, 985} {Act::Network, 3687370840u, 971077286u, 236}
{Act::Network, 3404404077u, 2285383105u, 128} {Act::LineFault, 3878258350u, 2738118571u, 45}
{Act::PanelKey, 3821602069u, 2444492072u, 84} {Act::Network, 1416461881u, 430587228u, 183}
{Act::Keyboard, 455301684u, 2781343133u, 28} {Act::Network, 3874743920u, 313954491u, 525}
{Act::RadioDial, 4227934557u, 342998668u, 405} {Act::PanelKey, 4028488842u, 1632696074u, 31}
{Act::Jog, 888781554u, 285292281u, 74}

the dial read at 76 MHz, where the knob wraps the 2 m band, was given to the 6 m band, whose knob then left the radio's range
{Act::PanelKey, 4007959319u, 3049334725u, 69} {Act::RadioDial, 3130858387u, 3246614862u, 1030}
{Act::PanelKey, 2210254698u, 59108466u, 995} {Act::Quiet, 666776062u, 2416050838u, 113}
{Act::RadioVfo, 3885186881u, 1432064981u, 650} {Act::Knob, 784560135u, 1574240418u, 123}
{Act::Keyboard, 3740769074u, 2286744283u, 207}

PMS from HOME: a dial reading asked while its frequency waited for the line took the HOME channel back, leaving PMS
{Act::Menu, 1251915312u, 1178155548u, 119} {Act::PanelKey, 1777208005u, 1874018656u, 70}
{Act::Keyboard, 1101339667u, 4025515777u, 7} {Act::Scope, 2109549866u, 2412971257u, 176}
{Act::PanelKey, 1840626413u, 121322249u, 7} {Act::PanelKey, 2039337881u, 1304417413u, 185}
{Act::MckHold, 1693867210u, 831546458u, 815}

a knob leaving HOME with SUB on sent the main VFO into the radio's sub VFO and the sub VFO into its main one
{Act::PanelKey, 783529179u, 3976372780u, 59} {Act::PanelKey, 3960705143u, 3193463201u, 142}
{Act::Knob, 215065844u, 1278988968u, 211} {Act::PanelKey, 2846909582u, 910580566u, 184}
{Act::PanelKey, 2327363288u, 4065611700u, 156}

an owed file not rewritten on a full disk stayed: the next start toggled the VFO the user had put back
{Act::PanelKey, 2712421790u, 2125818905u, 2} {Act::Menu, 1071718534u, 159324535u, 49}
{Act::LineFault, 2178945298u, 300106327u, 163} {Act::Menu, 3368513791u, 2717354731u, 975}
{Act::LineFault, 2822074418u, 3967561213u, 23} {Act::PanelKey, 3964334842u, 1000072357u, 159}
{Act::File, 185032174u, 2421033329u, 143} {Act::Menu, 3347002325u, 2646338498u, 73}

SUB pressed as the port was found lost lit SUB on the dark panel, so POWER took over the VFOs from the wrong one
{Act::Menu, 762492358u, 369507297u, 390} {Act::Menu, 2464955909u, 1140676061u, 118}
{Act::PanelKey, 2305399339u, 3740467610u, 234} {Act::PanelKey, 3312404596u, 1231646399u, 176}
{Act::Menu, 454206405u, 4261351716u, 1275} {Act::PanelKey, 156766289u, 3450631735u, 213}
{Act::PanelKey, 2666511501u, 2357763320u, 515} {Act::PanelKey, 869384905u, 1869502032u, 225}
{Act::LineFault, 3769349238u, 880915128u, 1235} {Act::PanelKey, 3840541843u, 273684172u, 88}
{Act::Network, 2985108844u, 1285410460u, 68} {Act::PanelKey, 944394140u, 580739027u, 119}
{Act::Network, 3239739837u, 2517129274u, 149}

a chart click past the band set a frequency the radio cannot tune; the jog then went on from it
{Act::Network, 3586052279u, 2879502497u, 1380} {Act::Scope, 2856521559u, 4080787035u, 24}
{Act::PanelKey, 3674055733u, 3622890955u, 1355} {Act::Scope, 1890561146u, 2296606788u, 189}
{Act::LineFault, 3713402348u, 2539681016u, 112} {Act::PanelKey, 3906729466u, 771094727u, 12}
{Act::Scope, 895217814u, 4072656720u, 98} {Act::PanelKey, 537722236u, 2071959696u, 70}
{Act::PanelKey, 1739236389u, 3834859408u, 84} {Act::Jog, 1321947184u, 3541550981u, 620}
{Act::PanelKey, 65392787u, 1894655764u, 181}

a chart still showing the band the panel had left set its frequency; the knob then wrapped it by the new band
{Act::Menu, 307558201u, 3218088234u, 28} {Act::Menu, 3283976200u, 1960303952u, 67}
{Act::PanelKey, 3067968811u, 196869744u, 99} {Act::RadioDial, 2135753644u, 3610431672u, 181}
{Act::Keyboard, 1610608374u, 2057700548u, 219} {Act::LineFault, 2674563448u, 3180480900u, 69}
{Act::Scope, 4244524450u, 3871123249u, 156} {Act::RadioDial, 2000385336u, 2249855687u, 91}
{Act::Network, 1298627189u, 1193813408u, 106} {Act::PanelKey, 4226519253u, 2705892112u, 119}
{Act::Scope, 1841925754u, 1940280809u, 110} {Act::Knob, 2765566296u, 590733118u, 1470}
{Act::PanelKey, 1720441465u, 4176048506u, 21} {Act::Keyboard, 967206188u, 4197853972u, 12}

REV with a 7.6 MHz offset at 5.4 MHz put the main VFO below zero
{Act::Network, 3227097434u, 3846090231u, 1015} {Act::PanelKey, 255917272u, 2977934314u, 39}
{Act::PanelKey, 2483916255u, 3835229421u, 169} {Act::PanelKey, 3040935127u, 3113075916u, 242}
{Act::PanelKey, 1773834658u, 3622999558u, 945} {Act::Keyboard, 225875986u, 661531957u, 156}
{Act::MckHold, 1041771655u, 1252114838u, 222}

a frequency frame built before the frame gap's wait went out after the scan step sent during it
{Act::PanelKey, 236505183u, 1119682415u, 203} {Act::Jog, 2433633337u, 3163714901u, 605}
{Act::PanelKey, 3934715730u, 3973664110u, 365} {Act::Jog, 3931492436u, 2972134418u, 166}
{Act::Jog, 2393932758u, 738685092u, 249} {Act::Network, 1250311885u, 2083181362u, 61}
{Act::Jog, 3684230360u, 580937707u, 33} {Act::PanelKey, 1604377218u, 2811689930u, 47}
{Act::LineFault, 1286684717u, 3081749911u, 248}

a channel shown in memory check stood in the cache for what the radio held, and File New skipped the mode
{Act::PanelKey, 4145588371u, 88143280u, 105} {Act::Keyboard, 1138854745u, 1978006896u, 159}
{Act::Keyboard, 3865510981u, 776325259u, 241} {Act::PanelKey, 4035085136u, 4274204876u, 204}
{Act::PanelKey, 1797473364u, 497541685u, 56} {Act::PanelKey, 3266747269u, 3761574080u, 179}
{Act::MckHold, 1188482216u, 3858251501u, 72} {Act::Knob, 3894522389u, 1523980487u, 117}
{Act::Knob, 1808366174u, 1020945626u, 246} {Act::Knob, 4143016229u, 1028960382u, 159}
{Act::File, 241672864u, 4241708134u, 58}

the priority check's tick between SPLIT's toggles sent channel 0 and its return into VFO B
{Act::PanelKey, 3445551704u, 713310205u, 133} {Act::PanelKey, 2428906308u, 3765939803u, 163}
{Act::PanelKey, 575884496u, 377999226u, 187} {Act::Quiet, 4129915269u, 1976751672u, 54}
{Act::Knob, 3710329119u, 3419829061u, 360} {Act::PanelKey, 487782092u, 367358535u, 162}

a band key in PMS during a scope sweep left the sweep stepping the old band's frequency into the new band's VFO; the knob then stepped a whole span per detent
{Act::Knob, 3647039048u, 3766460549u, 54} {Act::Network, 1768492688u, 3491709497u, 39}
{Act::Menu, 4219794014u, 1072029692u, 219} {Act::Jog, 3348390267u, 2296408756u, 134}
{Act::PanelKey, 3925718607u, 716233381u, 8} {Act::Scope, 98177463u, 1406638077u, 213}
{Act::Scope, 3136483657u, 440858806u, 17} {Act::RadioDial, 2714919122u, 3811436451u, 114}
{Act::Scope, 629292850u, 3904172785u, 23} {Act::Knob, 4066413444u, 4289526978u, 595}
{Act::LineFault, 1798428868u, 3265385847u, 159} {Act::PanelKey, 970590678u, 2320166891u, 133}
{Act::Scope, 592912281u, 3280454458u, 13} {Act::PanelKey, 2294905345u, 3846315224u, 21}
{Act::Quiet, 4227186783u, 3130913402u, 39} {Act::LineFault, 2957619161u, 311110391u, 65}
{Act::LineFault, 1048676180u, 1224871137u, 162} {Act::PanelKey, 3019643966u, 3455317081u, 1015}
{Act::PanelKey, 1550972842u, 20748405u, 38} {Act::Keyboard, 1715308541u, 2889144758u, 19}

a garbled reading decoded as 280 MHz, a frequency no band of the radio holds, was taken into the HF band
{Act::PanelKey, 1727952708u, 1339425551u, 132} {Act::PanelKey, 3714435127u, 926320200u, 109}
{Act::Menu, 1332800647u, 1167763351u, 6} {Act::PanelKey, 3851350776u, 1627402785u, 8}
{Act::LineFault, 181830903u, 391062378u, 6} {Act::Keyboard, 2027235116u, 820075905u, 24}
{Act::PanelKey, 3058104497u, 2338576589u, 208} {Act::PanelKey, 1724969483u, 3081397263u, 93}
{Act::PanelKey, 1086212278u, 852065817u, 131}

a sweep started around a centre left on another band ran at the new band's upper edge
{Act::Scope, 1367649828u, 208383657u, 201} {Act::Keyboard, 1186435663u, 4058618879u, 218}
{Act::PanelKey, 2263944143u, 1357449188u, 1320} {Act::Knob, 1738178032u, 3215050294u, 88}
{Act::Scope, 1347311691u, 484640843u, 128} {Act::Menu, 3630987839u, 4057652994u, 300}

a mode frame built before the frame gap's wait went out after the panel had moved on, and the cache took the mode the radio never got
{Act::PanelKey, 1311643567u, 1962285707u, 1400} {Act::PanelKey, 1284659113u, 2052880264u, 76}
{Act::Keyboard, 3499727147u, 2121203711u, 141} {Act::File, 406969336u, 3087949777u, 192}
{Act::MckHold, 3803081164u, 2014132182u, 1240} {Act::Menu, 1222376590u, 2085166344u, 47}
{Act::MckHold, 3286237313u, 2047623523u, 64} {Act::PanelKey, 2799674030u, 1622085362u, 42}
{Act::Jog, 942462662u, 857658739u, 109} {Act::PanelKey, 1045605486u, 851536883u, 135}
{Act::PanelKey, 281424561u, 1637946977u, 164} {Act::MemoryManager, 2437975511u, 407788333u, 42}
{Act::PanelKey, 1337522707u, 276510955u, 208} {Act::PanelKey, 299640983u, 590159921u, 226}
{Act::LineFault, 3201569767u, 2656496922u, 102} {Act::PanelKey, 3807120198u, 3211589721u, 186}
{Act::PanelKey, 1274681071u, 1409922784u, 173} {Act::Jog, 1888777568u, 3378511971u, 330}
{Act::Jog, 912576544u, 485422196u, 234} {Act::PanelKey, 2620597762u, 2067669803u, 159}
{Act::Keyboard, 907549337u, 3248083007u, 197} {Act::PanelKey, 438740008u, 3156866890u, 124}
{Act::PanelKey, 4209297708u, 2367781178u, 141} {Act::Jog, 2196210830u, 589613255u, 420}

a scope sweep's status poll inside a mode key's frequency read took bytes of its reply, which decoded as 141.25 kHz
{Act::Scope, 2025078291u, 2314444219u, 108} {Act::Scope, 1755553657u, 1276913687u, 176}
{Act::Menu, 741556316u, 3361297000u, 61} {Act::Quiet, 4157742435u, 463621113u, 1125}
{Act::Quiet, 1425757966u, 3473052045u, 16} {Act::Keyboard, 3634437970u, 21879397u, 1290}
{Act::Network, 1150476883u, 132454840u, 141} {Act::PanelKey, 650915623u, 3108320695u, 219}
{Act::LineFault, 1544755617u, 2454951958u, 775} {Act::LineFault, 787282057u, 1445715805u, 74}
{Act::Scope, 2653747410u, 491061225u, 114} {Act::LineFault, 938406243u, 517040041u, 18}
{Act::PanelKey, 1763870082u, 2376031162u, 197}

with CLAR on, a scan the jog started left CLAR's keys enabled: PMS under the running memory scan kept a split memory's sub VFO the radio never got
{Act::PanelKey, 6726552u, 1118917446u, 191} {Act::PanelKey, 2738800786u, 3336108525u, 237}
{Act::Jog, 1262473362u, 90292094u, 197} {Act::MemoryManager, 3559174290u, 4259120965u, 375}
{Act::PanelKey, 4035952713u, 439045676u, 204} {Act::Jog, 2073079488u, 4099945875u, 58}
{Act::Menu, 1220893184u, 3342031291u, 199} {Act::PanelKey, 2381456029u, 2673639222u, 78}
{Act::Menu, 3482616740u, 3832840079u, 615} {Act::Jog, 3847037887u, 3006985196u, 60}
)";

TEST(RandomOperator, FoundFaultsStayMended)
{
    std::istringstream found(kFound);
    int faults = 0;
    for (std::string what, rows, line; std::getline(found, what);) {
        if (what.empty())
            continue;
        for (rows.clear(); std::getline(found, line) && !line.empty();)
            rows += line;
        ++faults;
        const auto steps = ParseSteps(rows);
        const Outcome o = RunSteps(steps);
        EXPECT_FALSE(o.failed) << what << "\n" << Report(steps, o);
    }
    EXPECT_EQ(faults, 52);
}

// Seeds and their lengths: 50,000 steps in all.
constexpr std::uint64_t kSeeds[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20};
constexpr std::size_t kStepsPerSeed = 2500;

TEST(RandomOperator, SeedsKeepEveryInvariant)
{
    const auto t0 = std::chrono::steady_clock::now();
    Tally all;
    for (const auto seed : kSeeds) {
        const auto steps = GenerateSteps(seed, kStepsPerSeed);
        Tally t;
        const Outcome o = RunSteps(steps, &t);
        all.Add(t);
        if (o.failed) {
            const auto shortest = Shrink(steps, o);
            const Outcome again = RunSteps(shortest);
            ADD_FAILURE() << "seed " << seed << ": " << Report(shortest, again.failed ? again : o);
        }
    }
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::printf("%.2f s, %.0f steps/s\n%s\n", s, double(all.steps) / s, all.Text().c_str());
    for (const char* state : {"MR", "PMS", "HOME", "scan", "search", "priority", "SUB", "split", "MOX", "LOCK"})
        EXPECT_GE(all.reached[state], 20) << state << " was reached too rarely";
    EXPECT_GE(all.agreements, 500) << "too few quiet periods compared the radio with the panel";
}

} // namespace
} // namespace kivo::testing
