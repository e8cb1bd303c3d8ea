<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES">
<context>
    <name>AboutDialog</name>
    <message>
        <source>About Tremolux</source>
        <translation>Acerca de Tremolux</translation>
    </message>
    <message>
        <source>Swiftlane software</source>
        <translation>Software Swiftlane</translation>
    </message>
    <message>
        <source>Version </source>
        <translation>Versión </translation>
    </message>
    <message>
        <source>Copyright (C) 2026 Swiftlane developers</source>
        <translation>Copyright (C) 2026 autores de Swiftlane</translation>
    </message>
    <message>
        <source>All rights reserved.</source>
        <translation>Todos los derechos reservados.</translation>
    </message>
</context>
<context>
    <name>CSerialLink</name>
    <message>
        <source>Failed to open
Com link %1</source>
        <translation>No se pudo abrir
el enlace Com %1</translation>
    </message>
</context>
<context>
    <name>ConfigNameListDialog</name>
    <message>
        <source>Configure Name List</source>
        <translation>Configurar lista de nombres</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Nuevo</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Editar</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Eliminar</translation>
    </message>
    <message>
        <source>Up</source>
        <translation>Subir</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>Bajar</translation>
    </message>
    <message>
        <source>Import a list of names from file</source>
        <translation>Importar una lista de nombres desde un archivo</translation>
    </message>
    <message>
        <source>Import list</source>
        <translation>Importar lista</translation>
    </message>
    <message>
        <source>Export list</source>
        <translation>Exportar lista</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Text (*.txt *.csv)</source>
        <translation>Texto (*.txt *.csv)</translation>
    </message>
    <message>
        <source>New subject</source>
        <translation>Nuevo atleta</translation>
    </message>
    <message>
        <source>Select file containing list of names</source>
        <translation>Seleccionar el archivo con la lista de nombres</translation>
    </message>
    <message>
        <source>Select filename to save list of names</source>
        <translation>Seleccionar el archivo donde guardar la lista de nombres</translation>
    </message>
    <message>
        <source>&quot;%1&quot; already exists. Do you want to replace it?</source>
        <translation>&quot;%1&quot; ya existe. ¿Desea reemplazarlo?</translation>
    </message>
    <message>
        <source>Subject names</source>
        <translation>Nombres de atletas</translation>
    </message>
</context>
<context>
    <name>ConfigRunDialog</name>
    <message>
        <source>Setup gate sequences</source>
        <translation>Configurar secuencias de fotocélulas</translation>
    </message>
    <message>
        <source>Available</source>
        <translation>Disponibles</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Eliminar</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Nueva</translation>
    </message>
    <message>
        <source>Load</source>
        <translation>Cargar</translation>
    </message>
    <message>
        <source>Configure</source>
        <translation>Configurar</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nombre</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Guardar</translation>
    </message>
    <message>
        <source>Total Distance (m)</source>
        <translation>Distancia total (m)</translation>
    </message>
    <message>
        <source>Hold-off (ms)</source>
        <translation>Bloqueo (ms)</translation>
    </message>
    <message>
        <source>A break of the awaited gate this many milliseconds after that gate&apos;s last passage is ignored (0 to 5000; 0 switches it off)</source>
        <translation>Se ignora un corte de la fotocélula esperada que llegue antes de estos milisegundos desde su último paso (de 0 a 5000; 0 lo desactiva)</translation>
    </message>
    <message>
        <source>Available gates</source>
        <translation>Fotocélulas disponibles</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Añadir</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Quitar</translation>
    </message>
    <message>
        <source>Selected gates</source>
        <translation>Fotocélulas elegidas</translation>
    </message>
    <message>
        <source>Gate</source>
        <translation>Fotocélula</translation>
    </message>
    <message>
        <source>Up</source>
        <translation>Subir</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>Bajar</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Cerrar</translation>
    </message>
    <message>
        <source>Confirm delete</source>
        <translation>Confirmar eliminación</translation>
    </message>
    <message>
        <source>Are you sure you wish to delete the selected gate sequence ?</source>
        <translation>¿Seguro que desea eliminar la secuencia de fotocélulas seleccionada?</translation>
    </message>
    <message>
        <source>&quot;%1&quot; must be a number of metres from 0 to %2, such as 30 or %3.</source>
        <translation>&quot;%1&quot; debe ser un número de metros de 0 a %2, como 30 o %3.</translation>
    </message>
    <message>
        <source>&quot;Hold-off (ms)&quot; must be a whole number of milliseconds from 0 to %1.</source>
        <translation>&quot;Bloqueo (ms)&quot; debe ser un número entero de milisegundos de 0 a %1.</translation>
    </message>
    <message>
        <source>A gate sequence needs at least two gates: the start and the finish.</source>
        <translation>Una secuencia de fotocélulas necesita al menos dos fotocélulas: la de salida y la de llegada.</translation>
    </message>
    <message>
        <source>The gate sequence was not saved. </source>
        <translation>La secuencia de fotocélulas no se guardó. </translation>
    </message>
    <message>
        <source>The gate sequence could not be saved to &quot;%1&quot;: %2.</source>
        <translation>No se pudo guardar la secuencia de fotocélulas en &quot;%1&quot;: %2.</translation>
    </message>
    <message>
        <source>Confirm replace</source>
        <translation>Confirmar reemplazo</translation>
    </message>
    <message>
        <source>A gate sequence named &quot;%1&quot; already exists. Do you want to replace it?</source>
        <translation>Ya existe una secuencia de fotocélulas llamada &quot;%1&quot;. ¿Desea reemplazarla?</translation>
    </message>
    <message>
        <source>The gate sequence &quot;%1&quot; has changes that are not saved. Save them?</source>
        <translation>La secuencia de fotocélulas &quot;%1&quot; tiene cambios sin guardar. ¿Guardarlos?</translation>
    </message>
    <message>
        <source>Available gate sequences</source>
        <translation>Secuencias disponibles</translation>
    </message>
</context>
<context>
    <name>FileNameCheck</name>
    <message>
        <source>The name is empty.</source>
        <translation>El nombre está vacío.</translation>
    </message>
    <message>
        <source>The name &quot;%1&quot; is reserved for folders.</source>
        <translation>El nombre &quot;%1&quot; está reservado para carpetas.</translation>
    </message>
    <message>
        <source>The name must not contain &quot;/&quot;.</source>
        <translation>El nombre no debe contener &quot;/&quot;.</translation>
    </message>
    <message>
        <source>The name must not contain control characters such as line ends or tabs.</source>
        <translation>El nombre no debe contener caracteres de control como saltos de línea o tabuladores.</translation>
    </message>
</context>
<context>
    <name>GateListWidget</name>
    <message>
        <source>Gate %1</source>
        <translation>Fotocélula %1</translation>
    </message>
</context>
<context>
    <name>GateSequence</name>
    <message>
        <source>A gate sequence holds at most %1 gates and a name of at most %2 characters.</source>
        <translation>Una secuencia de fotocélulas admite como máximo %1 fotocélulas y un nombre de como máximo %2 caracteres.</translation>
    </message>
    <message>
        <source>The hold-off of a gate sequence is from 0 to %1 ms.</source>
        <translation>El bloqueo de una secuencia de fotocélulas va de 0 a %1 ms.</translation>
    </message>
</context>
<context>
    <name>MWGateSequenceWidget</name>
    <message>
        <source>Form</source>
        <translation>Formulario</translation>
    </message>
    <message>
        <source>Checkpoint #</source>
        <translation>Control #</translation>
    </message>
    <message>
        <source>Lamp png</source>
        <translation>Lamp png</translation>
    </message>
    <message>
        <source>Gate #</source>
        <translation>Fotocélula #</translation>
    </message>
    <message>
        <source>Start point</source>
        <translation>Salida</translation>
    </message>
    <message>
        <source>Checkpoint %1</source>
        <translation>Control %1</translation>
    </message>
    <message>
        <source>Gate %1</source>
        <translation>Fotocélula %1</translation>
    </message>
    <message>
        <source>Gate %1 passed</source>
        <translation>Fotocélula %1 superada</translation>
    </message>
    <message>
        <source>Gate %1 next</source>
        <translation>Fotocélula %1 siguiente</translation>
    </message>
    <message>
        <source>Gate %1 ahead</source>
        <translation>Fotocélula %1 pendiente</translation>
    </message>
</context>
<context>
    <name>NameListFile</name>
    <message>
        <source>a list of names</source>
        <translation>una lista de nombres</translation>
    </message>
    <message>
        <source>name %1 holds a line end</source>
        <translation>el nombre %1 contiene un salto de línea</translation>
    </message>
    <message>
        <source>name %1 is %2 bytes long; a name may hold at most %3 bytes</source>
        <translation>el nombre %1 ocupa %2 bytes; un nombre puede ocupar como máximo %3 bytes</translation>
    </message>
    <message>
        <source>it is a folder</source>
        <translation>es una carpeta</translation>
    </message>
    <message>
        <source>the file could not be written</source>
        <translation>no se pudo escribir el archivo</translation>
    </message>
    <message>
        <source>The list of names could not be read from &quot;%1&quot;: %2.</source>
        <translation>No se pudo leer la lista de nombres de &quot;%1&quot;: %2.</translation>
    </message>
    <message>
        <source>Imported %1 names from &quot;%2&quot;, then stopped: %3. The names from that line on were not imported.</source>
        <translation>Se importaron %1 nombres de &quot;%2&quot; y luego la importación se detuvo: %3. Los nombres a partir de esa línea no se importaron.</translation>
    </message>
    <message>
        <source>Imported %1 names from &quot;%2&quot;.</source>
        <translation>Se importaron %1 nombres de &quot;%2&quot;.</translation>
    </message>
    <message>
        <source> %1: a name may hold tabs but no other control characters.</source>
        <translation> %1: un nombre puede contener tabuladores, pero ningún otro carácter de control.</translation>
    </message>
    <message>
        <source>The list of names could not be written to &quot;%1&quot;: %2. Nothing was written.</source>
        <translation>No se pudo escribir la lista de nombres en &quot;%1&quot;: %2. No se escribió nada.</translation>
    </message>
</context>
<context>
    <name>OperatorTextFile</name>
    <message>
        <source>the file is %1 MB; %2 is at most %3 MB</source>
        <translation>el archivo ocupa %1 MB; %2 ocupa como máximo %3 MB</translation>
    </message>
</context>
<context>
    <name>RegularFile</name>
    <message>
        <source>it is a folder</source>
        <translation>es una carpeta</translation>
    </message>
    <message>
        <source>it is a named pipe, not a file</source>
        <translation>es una tubería con nombre, no un archivo</translation>
    </message>
    <message>
        <source>it is a socket, not a file</source>
        <translation>es un socket, no un archivo</translation>
    </message>
    <message>
        <source>it is a device, not a file</source>
        <translation>es un dispositivo, no un archivo</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>no es un archivo normal</translation>
    </message>
</context>
<context>
    <name>ReportFile</name>
    <message>
        <source>The results of the finished run could not be written to the reports folder:
%1

They are kept and will be written as soon as the folder can be written again, at the end of a later run.</source>
        <translation>Los resultados de la carrera terminada no se pudieron escribir en la carpeta de informes:
%1

Se conservan y se escribirán en cuanto se pueda volver a escribir en la carpeta, al final de una carrera posterior.</translation>
    </message>
</context>
<context>
    <name>ReportImport</name>
    <message>
        <source>has %1 fields where the header has %2</source>
        <translation>tiene %1 campos y la cabecera tiene %2</translation>
    </message>
    <message>
        <source>has no athlete name</source>
        <translation>no tiene nombre de atleta</translation>
    </message>
    <message>
        <source>field %1 (&quot;%2&quot;) is not a time, distance or speed</source>
        <translation>el campo %1 (&quot;%2&quot;) no es un tiempo, una distancia ni una velocidad</translation>
    </message>
    <message>
        <source>its splits add up to %1 s, not to its total</source>
        <translation>sus parciales suman %1 s, no su total</translation>
    </message>
    <message>
        <source>is not the header of a Swiftlane report</source>
        <translation>no es la cabecera de un informe de Swiftlane</translation>
    </message>
    <message>
        <source>cannot be read</source>
        <translation>no se puede leer</translation>
    </message>
    <message>
        <source>%1 report file(s) read: %2 run(s) added, %3 already in the history.</source>
        <translation>%1 informe(s) leído(s): %2 carrera(s) añadida(s), %3 ya en el historial.</translation>
    </message>
    <message>
        <source>
%1 run(s) could not be stored now (%2); importing again adds them.</source>
        <translation>
No se pudieron almacenar ahora %1 carrera(s) (%2); al volver a importar se añaden.</translation>
    </message>
    <message>
        <source>

%1 row(s) could not be read and were left out:</source>
        <translation>

No se pudieron leer %1 fila(s), que se omitieron:</translation>
    </message>
    <message>
        <source>
%1, row %2: %3</source>
        <translation>
%1, fila %2: %3</translation>
    </message>
    <message>
        <source>
%1: %2</source>
        <translation>
%1: %2</translation>
    </message>
    <message>
        <source>
... and %1 more.</source>
        <translation>
... y %1 más.</translation>
    </message>
</context>
<context>
    <name>ResultsExport</name>
    <message>
        <source>The workbook could not be made.</source>
        <translation>No se pudo crear el libro de cálculo.</translation>
    </message>
</context>
<context>
    <name>ResultsRecorder</name>
    <message>
        <source>Finished runs cannot be stored in the results history:
%1

%2

Timing and the report file go on. The runs are kept and stored as soon as the history can be written again, at the latest at the next start from the report files.</source>
        <translation>Las carreras terminadas no se pueden almacenar en el historial de resultados:
%1

%2

El cronometraje y el archivo de informe continúan. Las carreras se conservan y se almacenan en cuanto se pueda volver a escribir el historial, a más tardar en el próximo inicio a partir de los archivos de informe.</translation>
    </message>
</context>
<context>
    <name>ResultsRunsModel</name>
    <message>
        <source>invalid</source>
        <translation>no válida</translation>
    </message>
    <message>
        <source>simulated</source>
        <translation>simulada</translation>
    </message>
    <message>
        <source>PB</source>
        <translation>MM</translation>
    </message>
    <message>
        <source>Id</source>
        <translation>Id</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Inicio</translation>
    </message>
    <message>
        <source>Offset</source>
        <translation>Desfase</translation>
    </message>
    <message>
        <source>Athlete</source>
        <translation>Atleta</translation>
    </message>
    <message>
        <source>Course</source>
        <translation>Recorrido</translation>
    </message>
    <message>
        <source>Total (s)</source>
        <translation>Total (s)</translation>
    </message>
    <message>
        <source>Best</source>
        <translation>Mejor</translation>
    </message>
    <message>
        <source>Splits (s)</source>
        <translation>Parciales (s)</translation>
    </message>
    <message>
        <source>Speed (m/s)</source>
        <translation>Velocidad (m/s)</translation>
    </message>
    <message>
        <source>Distance (m)</source>
        <translation>Distancia (m)</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Estado</translation>
    </message>
    <message>
        <source>Reason</source>
        <translation>Motivo</translation>
    </message>
    <message>
        <source>Simulated</source>
        <translation>Simulada</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Nota</translation>
    </message>
</context>
<context>
    <name>ResultsStore</name>
    <message>
        <source>The SQLite driver of Qt is not installed (libqt6sql6-sqlite).</source>
        <translation>El controlador SQLite de Qt no está instalado (libqt6sql6-sqlite).</translation>
    </message>
    <message>
        <source>The results database cannot be read.</source>
        <translation>No se puede leer la base de datos de resultados.</translation>
    </message>
    <message>
        <source>The results database was written by a newer Swiftlane (version %1). It is shown read-only and new runs are not stored in it.</source>
        <translation>La base de datos de resultados la escribió un Swiftlane más reciente (versión %1). Se muestra en solo lectura y las carreras nuevas no se almacenan en ella.</translation>
    </message>
    <message>
        <source>The results database cannot be set up.</source>
        <translation>No se puede preparar la base de datos de resultados.</translation>
    </message>
    <message>
        <source>The results database cannot be opened.</source>
        <translation>No se puede abrir la base de datos de resultados.</translation>
    </message>
</context>
<context>
    <name>ResultsWindow</name>
    <message>
        <source>Results</source>
        <translation>Resultados</translation>
    </message>
    <message>
        <source>&amp;Athlete</source>
        <translation>&amp;Atleta</translation>
    </message>
    <message>
        <source>C&amp;ourse</source>
        <translation>&amp;Recorrido</translation>
    </message>
    <message>
        <source>&amp;Best per athlete</source>
        <translation>&amp;Mejor por atleta</translation>
    </message>
    <message>
        <source>Today</source>
        <translation>Hoy</translation>
    </message>
    <message>
        <source>&amp;From</source>
        <translation>&amp;Desde</translation>
    </message>
    <message>
        <source>yyyy-MM-dd</source>
        <translation>yyyy-MM-dd</translation>
    </message>
    <message>
        <source>&amp;To</source>
        <translation>&amp;Hasta</translation>
    </message>
    <message>
        <source>Show &amp;simulated runs</source>
        <translation>Mostrar carreras &amp;simuladas</translation>
    </message>
    <message>
        <source>All dates</source>
        <translation>Todas las fechas</translation>
    </message>
    <message>
        <source>Runs</source>
        <translation>Carreras</translation>
    </message>
    <message>
        <source>&amp;Reason</source>
        <translation>Moti&amp;vo</translation>
    </message>
    <message>
        <source>slipped</source>
        <translation>resbalón</translation>
    </message>
    <message>
        <source>false start</source>
        <translation>salida nula</translation>
    </message>
    <message>
        <source>gate missed</source>
        <translation>fotocélula omitida</translation>
    </message>
    <message>
        <source>Mark &amp;invalid</source>
        <translation>Marcar &amp;no válida</translation>
    </message>
    <message>
        <source>The run stays in the history, greyed, and counts for no best, ranking or progress</source>
        <translation>La carrera queda en el historial, en gris, y no cuenta para mejores marcas, clasificación ni progreso</translation>
    </message>
    <message>
        <source>R&amp;estore</source>
        <translation>Res&amp;taurar</translation>
    </message>
    <message>
        <source>Export &amp;CSV...</source>
        <translation>Exportar &amp;CSV...</translation>
    </message>
    <message>
        <source>Export E&amp;xcel...</source>
        <translation>Exportar E&amp;xcel...</translation>
    </message>
    <message>
        <source>Athlete</source>
        <translation>Atleta</translation>
    </message>
    <message>
        <source>Choose an athlete and a course above.</source>
        <translation>Elija arriba un atleta y un recorrido.</translation>
    </message>
    <message>
        <source>Session</source>
        <translation>Sesión</translation>
    </message>
    <message>
        <source>Se&amp;ssion</source>
        <translation>S&amp;esión</translation>
    </message>
    <message>
        <source>Import report files</source>
        <translation>Importar informes</translation>
    </message>
    <message>
        <source>Adds the runs of every report in the reports folder that the history lacks</source>
        <translation>Añade las carreras de todos los informes de la carpeta de informes que faltan en el historial</translation>
    </message>
    <message>
        <source>Import a report file...</source>
        <translation>Importar un informe...</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>(all athletes)</source>
        <translation>(todos los atletas)</translation>
    </message>
    <message>
        <source>(all courses)</source>
        <translation>(todos)</translation>
    </message>
    <message>
        <source>(any)</source>
        <translation>(cualquiera)</translation>
    </message>
    <message>
        <source>1 run</source>
        <translation>1 carrera</translation>
    </message>
    <message>
        <source>%1 runs</source>
        <translation>%1 carreras</translation>
    </message>
    <message>
        <source>More than %1 runs</source>
        <translation>Más de %1 carreras</translation>
    </message>
    <message>
        <source> - read-only: </source>
        <translation> - solo lectura: </translation>
    </message>
    <message>
        <source>The results history cannot be opened: </source>
        <translation>No se puede abrir el historial de resultados: </translation>
    </message>
    <message>
        <source>%1 on %2: personal best %3 s on %4</source>
        <translation>%1 en %2: mejor marca personal %3 s el %4</translation>
    </message>
    <message>
        <source>%1 has no valid run on %2.</source>
        <translation>%1 no tiene ninguna carrera válida en %2.</translation>
    </message>
    <message>
        <source>Best (s)</source>
        <translation>Mejor (s)</translation>
    </message>
    <message>
        <source>Change (s)</source>
        <translation>Cambio (s)</translation>
    </message>
    <message>
        <source> (from %1)</source>
        <translation> (de %1)</translation>
    </message>
    <message>
        <source>, %1 run(s)</source>
        <translation>, %1 carrera(s)</translation>
    </message>
    <message>
        <source>no valid run</source>
        <translation>sin carrera válida</translation>
    </message>
    <message>
        <source>Rank</source>
        <translation>Puesto</translation>
    </message>
    <message>
        <source>Course</source>
        <translation>Recorrido</translation>
    </message>
    <message>
        <source>Checkpoint</source>
        <translation>Control</translation>
    </message>
    <message>
        <source>Best split (s)</source>
        <translation>Mejor parcial (s)</translation>
    </message>
    <message>
        <source>By</source>
        <translation>Atletas</translation>
    </message>
    <message>
        <source>Mark invalid</source>
        <translation>Marcar no válida</translation>
    </message>
    <message>
        <source>Select the run to mark invalid first.</source>
        <translation>Seleccione primero la carrera que se va a marcar como no válida.</translation>
    </message>
    <message>
        <source>Choose or type the reason the run is invalid.</source>
        <translation>Elija o escriba el motivo por el que la carrera no es válida.</translation>
    </message>
    <message>
        <source>The run could not be marked: %1</source>
        <translation>No se pudo marcar la carrera: %1</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>Restaurar</translation>
    </message>
    <message>
        <source>The run could not be restored: %1</source>
        <translation>No se pudo restaurar la carrera: %1</translation>
    </message>
    <message>
        <source>&quot;%1&quot; already exists. Do you want to replace it?</source>
        <translation>&quot;%1&quot; ya existe. ¿Desea reemplazarlo?</translation>
    </message>
    <message>
        <source>Export results as CSV</source>
        <translation>Exportar resultados como CSV</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>Archivos CSV (*.csv)</translation>
    </message>
    <message>
        <source>Export results as an Excel workbook</source>
        <translation>Exportar resultados como libro de Excel</translation>
    </message>
    <message>
        <source>Export results</source>
        <translation>Exportar resultados</translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be written: %2</source>
        <translation>No se pudo escribir &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>Import a report file</source>
        <translation>Importar un informe</translation>
    </message>
    <message>
        <source>Swiftlane reports (Swiftlane_*.csv);;CSV files (*.csv)</source>
        <translation>Informes de Swiftlane (Swiftlane_*.csv);;Archivos CSV (*.csv)</translation>
    </message>
    <message>
        <source>Excel workbooks (*.xlsx)</source>
        <translation>Libros de Excel (*.xlsx)</translation>
    </message>
    <message>
        <source>Run list</source>
        <translation>Lista de carreras</translation>
    </message>
    <message>
        <source>Sessions of the athlete</source>
        <translation>Sesiones del atleta</translation>
    </message>
    <message>
        <source>Ranking</source>
        <translation>Clasificación</translation>
    </message>
    <message>
        <source>Best splits</source>
        <translation>Mejores parciales</translation>
    </message>
</context>
<context>
    <name>RunDisplayDialog</name>
    <message>
        <source>Swiftlane</source>
        <translation>Swiftlane</translation>
    </message>
    <message>
        <source>test text</source>
        <translation>test text</translation>
    </message>
</context>
<context>
    <name>RunDisplayGateWidget</name>
    <message>
        <source>Form</source>
        <translation>Formulario</translation>
    </message>
    <message>
        <source>Checkpoint ##</source>
        <translation>Control ##</translation>
    </message>
    <message>
        <source>Time:</source>
        <translation>Tiempo:</translation>
    </message>
    <message>
        <source>Best:</source>
        <translation>Mejor:</translation>
    </message>
    <message>
        <source>Start Point</source>
        <translation>Salida</translation>
    </message>
    <message>
        <source>Checkpoint %1</source>
        <translation>Control %1</translation>
    </message>
</context>
<context>
    <name>SLMain</name>
    <message>
        <source>Recording stopped</source>
        <translation>Registro detenido</translation>
    </message>
    <message>
        <source>Select RFID tag / name file</source>
        <translation>Seleccionar archivo de etiquetas RFID / nombres</translation>
    </message>
    <message>
        <source>Text (*.txt *.csv)</source>
        <translation>Texto (*.txt *.csv)</translation>
    </message>
    <message>
        <source>Import RFID tags and names</source>
        <translation>Importar etiquetas RFID y nombres</translation>
    </message>
    <message>
        <source>Cannot read %1:
%2</source>
        <translation>No se puede leer %1:
%2</translation>
    </message>
    <message>
        <source>Swiftlane COM Port</source>
        <translation>Puerto COM de Swiftlane</translation>
    </message>
    <message>
        <source>The result of 1 finished run could not be written to the reports folder:
%1

</source>
        <translation>El resultado de 1 carrera terminada no se pudo escribir en la carpeta de informes:
%1

</translation>
    </message>
    <message>
        <source>The results of %1 finished runs could not be written to the reports folder:
%2

</source>
        <translation>Los resultados de %1 carreras terminadas no se pudieron escribir en la carpeta de informes:
%2

</translation>
    </message>
    <message>
        <source>Saving in the temporary folder failed too, so they could not be saved anywhere; they were printed on the error output (stderr) instead.</source>
        <translation>Tampoco se pudo guardar en la carpeta temporal, así que no se han guardado en ningún sitio; en su lugar se han escrito en la salida de errores (stderr).</translation>
    </message>
    <message>
        <source>Saved instead in:
%1</source>
        <translation>En su lugar se han guardado en:
%1</translation>
    </message>
    <message>
        <source>Report not written</source>
        <translation>Informe no escrito</translation>
    </message>
    <message>
        <source>Swiftlane could not read its settings file:
%1

The subject list, the chosen subject and gate sequence, auto-advance and the window sizes start from their defaults.</source>
        <translation>Swiftlane no pudo leer su archivo de configuración:
%1

La lista de atletas, el atleta y la secuencia de fotocélulas elegidos, el avance automático y los tamaños de las ventanas parten de sus valores predeterminados.</translation>
    </message>
    <message>
        <source>Swiftlane could not save its settings file:
%1

The subject list, the chosen subject and gate sequence, auto-advance and the window sizes will not be there at the next start.</source>
        <translation>Swiftlane no pudo guardar su archivo de configuración:
%1

La lista de atletas, el atleta y la secuencia de fotocélulas elegidos, el avance automático y los tamaños de las ventanas no se conservarán en el próximo inicio.</translation>
    </message>
    <message>
        <source>Settings not kept</source>
        <translation>Configuración no conservada</translation>
    </message>
    <message>
        <source> Timing is not affected.</source>
        <translation> El cronometraje no se ve afectado.</translation>
    </message>
    <message>
        <source>Select list of names file</source>
        <translation>Seleccionar archivo de lista de nombres</translation>
    </message>
    <message>
        <source>Import list of names</source>
        <translation>Importar lista de nombres</translation>
    </message>
    <message>
        <source>Save To File</source>
        <translation>Guardar en archivo</translation>
    </message>
    <message>
        <source>Select file name:</source>
        <translation>Seleccionar nombre de archivo:</translation>
    </message>
    <message>
        <source>Export list of names</source>
        <translation>Exportar lista de nombres</translation>
    </message>
    <message>
        <source>The list of names was not exported. </source>
        <translation>La lista de nombres no se exportó. </translation>
    </message>
    <message>
        <source>&quot;%1&quot; already exists. Do you want to replace it?</source>
        <translation>&quot;%1&quot; ya existe. ¿Desea reemplazarlo?</translation>
    </message>
    <message>
        <source>List of names saved to %1</source>
        <translation>Lista de nombres guardada en %1</translation>
    </message>
    <message>
        <source>Results not stored</source>
        <translation>Resultados no almacenados</translation>
    </message>
    <message>
        <source>Run in Progress</source>
        <translation>Carrera en curso</translation>
    </message>
    <message>
        <source>Do you wish to abort the current run ?</source>
        <translation>¿Desea interrumpir la carrera en curso?</translation>
    </message>
    <message>
        <source>Please enter a subject name
</source>
        <translation>Introduzca el nombre del atleta
</translation>
    </message>
    <message>
        <source>Some gates in the gate sequence are either not ready or not present</source>
        <translation>Algunas fotocélulas de la secuencia no están listas o no están presentes</translation>
    </message>
    <message>
        <source>Problem starting run</source>
        <translation>Problema al iniciar la carrera</translation>
    </message>
    <message>
        <source>About to start in %1</source>
        <translation>Salida en %1</translation>
    </message>
    <message>
        <source>Waiting for start gate</source>
        <translation>Esperando la fotocélula de salida</translation>
    </message>
    <message>
        <source>Running</source>
        <translation>En carrera</translation>
    </message>
    <message>
        <source>Idle</source>
        <translation>En espera</translation>
    </message>
    <message>
        <source>A run is in progress. Exit and drop it?</source>
        <translation>Hay una carrera en curso. ¿Salir y descartarla?</translation>
    </message>
    <message>
        <source>Reports folder</source>
        <translation>Carpeta de informes</translation>
    </message>
    <message>
        <source>The desktop could not open the reports folder. It is:
%1</source>
        <translation>El escritorio no pudo abrir la carpeta de informes. Está en:
%1</translation>
    </message>
    <message>
        <source>Report</source>
        <translation>Informe</translation>
    </message>
    <message>
        <source>No report has been written yet. Reports are kept in:
%1</source>
        <translation>Aún no se ha escrito ningún informe. Los informes se guardan en:
%1</translation>
    </message>
    <message>
        <source>The desktop could not open the report. It is:
%1</source>
        <translation>El escritorio no pudo abrir el informe. Está en:
%1</translation>
    </message>
</context>
<context>
    <name>SLMainWindow</name>
    <message>
        <source>Swiftlane</source>
        <translation>Swiftlane</translation>
    </message>
    <message>
        <source>Swiftlane system</source>
        <translation>Sistema Swiftlane</translation>
    </message>
    <message>
        <source>Status:</source>
        <translation>Estado:</translation>
    </message>
    <message>
        <source>Connected</source>
        <translation>Conectado</translation>
    </message>
    <message>
        <source>Shows the status of the gate</source>
        <translation>Muestra el estado de la fotocélula</translation>
    </message>
    <message>
        <source>Master</source>
        <translation>Maestra</translation>
    </message>
    <message>
        <source>TextLabel</source>
        <translation>TextLabel</translation>
    </message>
    <message>
        <source>Slave 1</source>
        <translation>Esclava 1</translation>
    </message>
    <message>
        <source>Slave 2</source>
        <translation>Esclava 2</translation>
    </message>
    <message>
        <source>Slave 3</source>
        <translation>Esclava 3</translation>
    </message>
    <message>
        <source>Session</source>
        <translation>Sesión</translation>
    </message>
    <message>
        <source>Subject name:</source>
        <translation>Atleta:</translation>
    </message>
    <message>
        <source>Configure the list of names</source>
        <translation>Configurar la lista de nombres</translation>
    </message>
    <message>
        <source>RFID scan</source>
        <translation>Lectura RFID</translation>
    </message>
    <message>
        <source>Gate sequence:</source>
        <translation>Secuencia:</translation>
    </message>
    <message>
        <source>Configure Gate Sequences</source>
        <translation>Configurar secuencias de fotocélulas</translation>
    </message>
    <message>
        <source>Run progress</source>
        <translation>Progreso de la carrera</translation>
    </message>
    <message>
        <source>Start run</source>
        <translation>Iniciar carrera</translation>
    </message>
    <message>
        <source>Auto advance to
 next subject      </source>
        <translation>Avance automático
 al siguiente atleta      </translation>
    </message>
    <message>
        <source>Run view</source>
        <translation>Vista de carrera</translation>
    </message>
    <message>
        <source>Subject Name</source>
        <translation>Nombre del atleta</translation>
    </message>
    <message>
        <source>Open the reports folder</source>
        <translation>Abrir la carpeta de informes</translation>
    </message>
    <message>
        <source>View the report</source>
        <translation>Ver el informe</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Salir</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Archivo</translation>
    </message>
    <message>
        <source>Configure</source>
        <translation>Configurar</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Ayuda</translation>
    </message>
    <message>
        <source>Import list of names</source>
        <translation>Importar lista de nombres</translation>
    </message>
    <message>
        <source>Export list of names</source>
        <translation>Exportar lista de nombres</translation>
    </message>
    <message>
        <source>Import RFID tags and names</source>
        <translation>Importar etiquetas RFID y nombres</translation>
    </message>
    <message>
        <source>Results</source>
        <translation>Resultados</translation>
    </message>
    <message>
        <source>Setup subject names</source>
        <translation>Configurar nombres de atletas</translation>
    </message>
    <message>
        <source>Setup gate sequences</source>
        <translation>Configurar secuencias de fotocélulas</translation>
    </message>
    <message>
        <source>Setup Swiftlane connection</source>
        <translation>Configurar conexión de Swiftlane</translation>
    </message>
    <message>
        <source>Setup RFID scanner connection</source>
        <translation>Configurar conexión del lector RFID</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Acerca de</translation>
    </message>
    <message>
        <source>Not connected</source>
        <translation>No conectado</translation>
    </message>
    <message>
        <source>Total Time</source>
        <translation>Tiempo total</translation>
    </message>
    <message>
        <source>Checkpoint %1</source>
        <translation>Control %1</translation>
    </message>
    <message>
        <source>Distance</source>
        <translation>Distancia</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Velocidad</translation>
    </message>
    <message>
        <source>Gate sequence strip</source>
        <translation>Franja de la secuencia</translation>
    </message>
    <message>
        <source>Report table</source>
        <translation>Tabla de resultados</translation>
    </message>
    <message>
        <source>Open reports folder</source>
        <translation>Abrir carpeta de informes</translation>
    </message>
    <message>
        <source>View report</source>
        <translation>Ver informe</translation>
    </message>
    <message>
        <source>Gate %1 ready</source>
        <translation>Fotocélula %1 lista</translation>
    </message>
    <message>
        <source>Gate %1 not ready</source>
        <translation>Fotocélula %1 no lista</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>Carrera</translation>
    </message>
    <message>
        <source>Stop run</source>
        <translation>Detener carrera</translation>
    </message>
    <message>
        <source>Previous subject</source>
        <translation>Atleta anterior</translation>
    </message>
    <message>
        <source>Next subject</source>
        <translation>Atleta siguiente</translation>
    </message>
</context>
<context>
    <name>SerialPortDialog</name>
    <message>
        <source>Dialog</source>
        <translation>Diálogo</translation>
    </message>
    <message>
        <source>COM port</source>
        <translation>Puerto COM</translation>
    </message>
    <message>
        <source>Baud rate</source>
        <translation>Baudios</translation>
    </message>
    <message>
        <source>9600</source>
        <translation>9600</translation>
    </message>
    <message>
        <source>19200</source>
        <translation>19200</translation>
    </message>
    <message>
        <source>38400</source>
        <translation>38400</translation>
    </message>
    <message>
        <source>57600</source>
        <translation>57600</translation>
    </message>
    <message>
        <source>115200</source>
        <translation>115200</translation>
    </message>
    <message>
        <source>Parity</source>
        <translation>Paridad</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Ninguno</translation>
    </message>
    <message>
        <source>Odd</source>
        <translation>Impar</translation>
    </message>
    <message>
        <source>Even</source>
        <translation>Par</translation>
    </message>
    <message>
        <source>Mark</source>
        <translation>Marca</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>Espacio</translation>
    </message>
    <message>
        <source>Flow</source>
        <translation>Flujo</translation>
    </message>
    <message>
        <source>Hardware</source>
        <translation>Hardware</translation>
    </message>
    <message>
        <source>Xon/Xoff</source>
        <translation>Xon/Xoff</translation>
    </message>
    <message>
        <source>Data bits</source>
        <translation>Bits de datos</translation>
    </message>
    <message>
        <source>5</source>
        <translation>5</translation>
    </message>
    <message>
        <source>6</source>
        <translation>6</translation>
    </message>
    <message>
        <source>7</source>
        <translation>7</translation>
    </message>
    <message>
        <source>8</source>
        <translation>8</translation>
    </message>
    <message>
        <source>Stop bits</source>
        <translation>Bits de parada</translation>
    </message>
    <message>
        <source>1</source>
        <translation>1</translation>
    </message>
    <message>
        <source>1.5</source>
        <translation>1,5</translation>
    </message>
    <message>
        <source>2</source>
        <translation>2</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Iniciar</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Detener</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>&lt;none&gt;</source>
        <translation>&lt;ninguno&gt;</translation>
    </message>
</context>
<context>
    <name>SessionRecorder</name>
    <message>
        <source>the folder %1 cannot be created</source>
        <translation>no se puede crear la carpeta %1</translation>
    </message>
    <message>
        <source>%1 cannot be created: %2</source>
        <translation>no se puede crear %1: %2</translation>
    </message>
    <message>
        <source>%1 cannot be written: %2</source>
        <translation>no se puede escribir %1: %2</translation>
    </message>
    <message>
        <source>Gate session recording has stopped: %1.
Timing goes on; this session is not recorded from here on.</source>
        <translation>El registro de la sesión de fotocélulas se ha detenido: %1.
El cronometraje continúa; a partir de aquí esta sesión no se registra.</translation>
    </message>
</context>
<context>
    <name>TagNames</name>
    <message>
        <source>a tag/name list</source>
        <translation>una lista de etiquetas/nombres</translation>
    </message>
    <message>
        <source>Line %1 of %2 is longer than %3 bytes, so the import stopped there.
%4 tag/name pairs before it were imported; that line and the lines after it were not.</source>
        <translation>La línea %1 de %2 supera los %3 bytes, así que la importación se detuvo ahí.
Se importaron los %4 pares etiqueta/nombre anteriores; esa línea y las siguientes no.</translation>
    </message>
    <message>
        <source>In %1, %2.</source>
        <translation>En %1, %2.</translation>
    </message>
</context>
<context>
    <name>TextLines</name>
    <message>
        <source>1 line holds control characters and was skipped (line %1)</source>
        <translation>1 línea contiene caracteres de control y se omitió (línea %1)</translation>
    </message>
    <message>
        <source>%1 lines hold control characters and were skipped (lines %2)</source>
        <translation>%1 líneas contienen caracteres de control y se omitieron (líneas %2)</translation>
    </message>
    <message>
        <source>line %1 is %2 bytes long; a line may hold at most %3 bytes</source>
        <translation>la línea %1 ocupa %2 bytes; una línea puede ocupar como máximo %3 bytes</translation>
    </message>
</context>
</TS>
